module m_1 (a, y);
  input a;
  output y;
  MUX2 g1 (.A(a), .B(a), .Y(n1));
  NAND g2 (a, a, n2);
  WEAK g3 (.A(n2), .Y(y));
  AND2 g4 (.A(a), .Y(n4));
endmodule
