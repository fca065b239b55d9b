/* One grammar for both input forms. Each action makes one builder call; the
   builders make every semantic check. The order of the rules fixes how the
   module body's conflicts resolve (shift first, then the earlier rule), and
   the right recursion of the lists is what the parse stack grows with. */
%{
#include "design.h"
#include "process.h"
#include "reader.h"
#include "name_texts.h"

#include <cstring>
#include <string>

/* Parse stack: 500 entries at first, doubled on demand up to 5,000,000. */
#define YYINITSTACKSIZE 500
#define YYMAXDEPTH 5000000
#define YYERROR_CALL(message) parse_error(message)

/* The name an instance statement without one gets: the netlist builder
   tells such a gate by this text and keeps it out of its duplicate check. */
static char no_instance_name[] = "(empty)";
%}

%union {
    char* str;
    int ival;
    double dval;
}

%token MODULE 257
%token <str> IDENT 258
%token LPAREN 259 RPAREN 260 SEMICOLON 261 COMMA 262 ENDMODULE 263 COLON 264
%token WIRE 265 INPUT 266 OUTPUT 267 LBRACKET 268 RBRACKET 269 LBRACE 270
%token RBRACE 271 QUOTE 272 INFORMATION 273 CELL_NUM 274 ATTRIBUTE_NUM 275
%token ATTRIBUTES 276 CELLS 277
%token <ival> INTEGER 278
%token <dval> FLOAT 279
%token DOT 280

%type <str> net_ref instance_name

/* The module body's ambiguity gives exactly these conflicts, resolved as the
   header says; byacc fails the build when their number changes. */
%expect 27
%expect-rr 5

%start input_file

%%

/* input_file: netlist | library */
input_file
    : netlist
    | library
    ;

/* netlist: header declarations body endmodule */
netlist
    : module_header declarations module_body module_end
    ;

/* module_header: module name ( ports ) ; */
module_header
    : MODULE IDENT LPAREN port_names RPAREN SEMICOLON   { design_name = $2; }
    ;

/* module_body: any mix of instances, stray semicolons and declarations */
module_body
    : body_item
    | body_item module_body
    | declarations
    | declarations module_body
    | /* empty */
    ;

module_end
    : ENDMODULE
    ;

/* port_names: name [, name]... (not used) */
port_names
    : IDENT
    | IDENT COMMA port_names
    ;

/* input_names: name [, name]...; handed over last to first */
input_names
    : IDENT                         { insert_inputs($1); }
    | IDENT COMMA input_names       { insert_inputs($1); }
    ;

output_names
    : IDENT                         { insert_outputs($1); }
    | IDENT COMMA output_names      { insert_outputs($1); }
    ;

/* An instance statement is complete: the name texts scanned for it are dead. */
body_item
    : instance                      { reader_release_texts(); }
    | SEMICOLON
    ;

/* instance: cell [name] ( connections ) ; */
instance
    : IDENT instance_name LPAREN connections RPAREN SEMICOLON   { create_instance($1, $2); }
    ;

instance_name
    : IDENT                         { $$ = $1; }
    | /* empty */                   { $$ = no_instance_name; }
    ;

/* connections: net [, net]... | .pin(net) [, .pin(net)]... */
connections
    : net_ref                                               { insert_port_list_by_order($1); }
    | connections COMMA net_ref                             { insert_port_list_by_order($3); }
    | DOT IDENT LPAREN net_ref RPAREN                       { insert_port_list_by_name($2, $4); }
    | connections COMMA DOT IDENT LPAREN net_ref RPAREN     { insert_port_list_by_name($4, $6); }
    ;

/* net_ref: name | ( net_ref ) */
net_ref
    : IDENT                         { $$ = $1; }
    | LPAREN net_ref RPAREN         { $$ = $2; }
    ;

declarations
    : /* empty */
    | wire_decl declarations
    | input_decl declarations
    | output_decl declarations
    ;

/* wire_nets: net [, net]... (not used) */
wire_nets
    : net_ref
    | net_ref COMMA wire_nets
    ;

wire_decl
    : WIRE wire_nets SEMICOLON
    ;

input_decl
    : INPUT input_names SEMICOLON
    ;

output_decl
    : OUTPUT output_names SEMICOLON
    ;

/* library: { "information": {...}, "cells": [...] } */
library
    : LBRACE information_section COMMA cells_section RBRACE
    ;

information_section
    : QUOTE INFORMATION QUOTE COLON LBRACE info_items RBRACE
    ;

info_items
    : cell_num_item COMMA info_items
    | attribute_num_item COMMA info_items
    | attributes_item COMMA info_items
    | cell_num_item
    | attribute_num_item
    | attributes_item
    ;

/* cell_num_item: "cell_num": "<integer>" */
cell_num_item
    : QUOTE CELL_NUM QUOTE COLON QUOTE INTEGER QUOTE            { lib_set_cell_num($6); }
    ;

attribute_num_item
    : QUOTE ATTRIBUTE_NUM QUOTE COLON QUOTE INTEGER QUOTE       { lib_set_attr_num($6); }
    ;

/* attributes_item: "attributes": [ "name" [, "name"]... ] */
attributes_item
    : QUOTE ATTRIBUTES QUOTE COLON LBRACKET attr_names RBRACKET
    ;

attr_names
    : attr_names COMMA QUOTE IDENT QUOTE                        { lib_add_attr($4); }
    | QUOTE IDENT QUOTE                                         { lib_add_attr($2); }
    ;

/* cells_section: "cells": [ {...} [, {...}]... ] */
cells_section
    : QUOTE CELLS QUOTE COLON LBRACKET cell_objects RBRACKET
    ;

/* A cell object is complete (the builder has copied what it keeps): the name
   texts scanned so far are dead. These reductions read no lookahead, so no
   text of the next object is among them. */
cell_objects
    : cell_object                                               { reader_release_texts(); }
    | cell_objects COMMA cell_object                            { reader_release_texts(); }
    ;

cell_object
    : LBRACE cell_entries RBRACE                                { lib_create_cell_from_tmp_cell(); }
    ;

cell_entries
    : cell_entry
    | cell_entries COMMA cell_entry
    ;

/* cell_entry: "key": "value"; the value's written form picks the setter */
cell_entry
    : QUOTE IDENT QUOTE COLON QUOTE IDENT QUOTE                 { lib_tmp_cell_insert_attr_s($2, $6); }
    | QUOTE IDENT QUOTE COLON QUOTE INTEGER QUOTE               { lib_tmp_cell_insert_attr_i($2, $6); }
    | QUOTE IDENT QUOTE COLON QUOTE FLOAT QUOTE                 { lib_tmp_cell_insert_attr_f($2, $6); }
    ;

%%

/* byacc reports a stack whose growth failed below its ceiling as an overflow
   as well: that is exhausted memory, not input nested too deep. */
static void parse_error(const char* message)
{
#ifdef YYBYACC
    if (yystack.stacksize < YYMAXDEPTH && std::strcmp(message, "yacc stack overflow") == 0)
        out_of_memory();
#endif
    yyerror(message);
}

bool is_primitive(const std::string& type)
{
    return type == "and" || type == "or" || type == "nand" || type == "nor" || type == "not" ||
           type == "buf" || type == "xor" || type == "xnor";
}

void yyerror_cus(const char* message, int with_line, int line)
{
    std::printf("%s\n", message);
    if (with_line)
        std::printf("%s in line %d\n", message, line);
}
