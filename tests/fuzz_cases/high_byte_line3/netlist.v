module top_901502648_851170999_6085557 (a, y);
  input a;
  INV g1 (a,é y);
endmodule
