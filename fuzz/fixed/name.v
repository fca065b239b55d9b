// The netlist around a fuzzed module name; name_driver puts the name in
// place of the marker below.
module MODULE_NAME (a, b, y);
  input a, b;
  output y;
  wire n1;
  NAND2 g1 (a, b, n1);
  INV g2 (n1, y);
endmodule
