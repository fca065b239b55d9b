/* every body item, in any order, with stray semicolons */
module m_901502648_851170999_6085557 (a, b, c, d, y, z, w);
  ;
  input a; input b, c, d;
  wire (n1), ((n2)), n3;
  AND2 g1 (.A(a), .B((b)), .Y(n1));;
  OR2 g2 (n1, c, n2);
  output y;
  XOR2 g3 (.Y(y), .B(d), .A(n2));
  XNOR2 (n2, d, n3);
  NOR2 g5 (.A(n3), .B(n3), .Y(z));
  BUF g6 (.A(z), .Y(w));
  NAND2 g7 (.A(a));
  INV g8 (.A(w));
  output z, w;
endmodule
