// Library and netlist reader: one generated scanner and one generated LALR(1)
// parser serve both file forms. The usual flex/yacc entry points live here.
#pragma once
#include <cstdio>
#include <string>

// The stream the scanner reads; set it (and line_no) before each yyparse.
extern FILE* yyin;
// Input line of the token being read; only the scanner advances it.
extern int line_no;
// Parses the scanner's input to its end; returns 0 when it is accepted. Any
// syntax error ends the run in yyerror, any semantic one in a builder.
int yyparse();
int yylex();
// Prints the message and "Line: <line_no>" on stdout and exits with status 1.
[[noreturn]] void yyerror(const char* message);

// Beside the parser, called by none of the programs: true for the eight
// cell types that have a probability formula.
bool is_primitive(const std::string& type);
// Prints the message and, when `with_line` is set, "<message> in line <line>";
// does not end the run. Called by none of the programs.
void yyerror_cus(const char* message, int with_line, int line);
