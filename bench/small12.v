// Twelve gates: a two-bit adder beside an equality check of its operands,
// over the cells of bench_gen's library. The module name carries the clock
// period 10, the area limit 500 and the power limit 2.5.
module top_901502648_851170999_6085557 (a0, a1, b0, b1, s0, s1, c, eq);
  input a0, a1, b0, b1;
  output s0, s1, c, eq;
  wire c0, p1, g, t, e0, e1, eq_n, eq_b;
  XOR2_X1 u1 (a0, b0, s0);
  AND2_X1 u2 (a0, b0, c0);
  XOR2_X1 u3 (a1, b1, p1);
  XOR2_X1 u4 (p1, c0, s1);
  AND2_X1 u5 (.A(a1), .B(b1), .Y(g));
  AND2_X1 u6 (.A(p1), .B(c0), .Y(t));
  OR2_X1 u7 (g, t, c);
  XNOR2_X1 u8 (a0, b0, e0);
  XNOR2_X1_LV u9 (a1, b1, e1);
  NAND2_X1 u10 (e0, e1, eq_n);
  INV_X1 u11 (eq_n, eq_b);
  BUF_X2 u12 (.Y(eq), .A(eq_b));
endmodule
