// The netlist that stays fixed while the library is fuzzed: only INV and
// NAND2, in both connection styles, with fanout and a primary output sink.
module top_901502648_851170999_6085557 (a, b, c, y, z);
  input a, b, c;
  output y, z;
  wire n1, n2;
  NAND2 g1 (a, b, n1);
  INV g2 (.A(n1), .Y(n2));
  NAND2 g3 (.B(c), .A(n2), .Y(y));
  INV (n2, z);
endmodule
