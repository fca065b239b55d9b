// Library and netlist reader: one generated scanner and one generated LALR(1)
// parser serve both file forms. The usual flex/yacc entry points live here.
#pragma once
#include <cstdio>
#include <string>

// The stream the scanner reads; set it (and line_no) before each yyparse.
extern FILE* yyin;
// Parses the scanner's input to its end; returns 0 when it is accepted. Any
// syntax error ends the run in yyerror, any semantic one in a builder.
int yyparse();
int yylex();
// Prints the message and "Line: <line_no>" on stdout and exits with status 1.
[[noreturn]] void yyerror(const char* message);

// The name texts scanned so far are dead (a statement is complete and its
// builders have copied what they keep): their memory may be reused.
void reader_release_texts();

// True for the eight primitive cell types the probability pass evaluates.
bool is_primitive(const std::string& type);
// Prints the message and, when `with_line` is set, "<message> in line <line>";
// does not end the run.
void yyerror_cus(const char* message, int with_line, int line);
