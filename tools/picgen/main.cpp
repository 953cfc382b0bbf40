// picgen OUTDIR: draws the window's four pictures into OUTDIR (the repository's assets/).
#include "tools/picgen/picgen.hpp"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: picgen OUTDIR\n";
    return 2;
  }
  try {
    kelvarin::picgen::writePictures(argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "picgen: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
