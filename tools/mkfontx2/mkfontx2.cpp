// mkfontx2: writes the FONTX2 fonts of the editor.
//   mkfontx2 s FILE WINDOWS   the 8 × 16 single-byte font
//   mkfontx2 m FILE WINDOWS   the 16 × 16 double-byte font
// WINDOWS names GNU Unifont JP; a path to a .hex or .bdf file names another source.
#include <cstdio>
#include <string>
#include <vector>

#include "display/font_generator.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string message;
  int status = vintorel::run_font_generator(args, message);
  if (status != 0) std::fprintf(stderr, "mkfontx2: %s\n", message.c_str());
  return status;
}
