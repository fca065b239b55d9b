module loop_901502648_851170999_6085557 (a, y);
  input a;
  output y;
  NAND2 g1 (a, n2, n1);
  INV g2 (n1, n2);
  BUF g3 (.A(n2), .Y(y));
endmodule
