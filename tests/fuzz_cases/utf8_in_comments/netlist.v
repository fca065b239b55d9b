// A half adder — naïve with an inverted carry. The module name carries the clock
// period 10, the area limit 500 and the power limit 2.5, encoded.
module top_901502648_851170999_6085557 (a, b, sum, carry_n);
  input a, b;
  output sum, carry_n;
  wire n1; /* «n1» feeds the inverter: ü ß */
  XOR2 g1 (a, b, sum);
  NAND2 g2 (.A(a), .B(b), .Y(n1));
  INV (n1, carry_n_pre);
  INV g4 (.A(carry_n_pre), .Y(carry_n));
endmodule
