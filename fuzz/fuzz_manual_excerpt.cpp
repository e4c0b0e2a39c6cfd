// Fuzzes cutting a range of lines out of a manual file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/manual_excerpt.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  int first = data[0] % 40;
  int count = data[1] % 40;
  std::string_view contents(reinterpret_cast<const char*>(data) + 2, size - 2);
  byte_string out = manual_excerpt(contents, first, count);
  if (out.size() >= manual_excerpt_room) std::abort();
  // Every line end of the excerpt is CR LF, and no CR LF is doubled.
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\n' && (i == 0 || out[i - 1] != '\r')) std::abort();
  }
  return 0;
}
