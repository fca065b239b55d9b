module chain_1603130551_1603275704_6084532 (a, y);
  input a;
  output y;
  INV g1 (a, n1);
  INV g2 (n1, n2);
  INV g3 (n2, n3);
  AND2 g4 (n1, n3, n4);
  BUF g5 (n4, n5);
  OR2 g6 (n5, n2, y);
  INV g7 (y, unused);
endmodule
