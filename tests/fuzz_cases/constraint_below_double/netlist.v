// A clock period written non-zero but below even double precision.
module m_881462200_834393783_6084582 (a, y);
  input a;
  output y;
  INV g1 (a, y);
endmodule
