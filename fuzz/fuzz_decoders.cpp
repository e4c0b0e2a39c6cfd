// Fuzzes the three in-place line decoders over arbitrary line bytes: none may read
// or write outside the line, and the result is never longer than the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/charset.h"

using namespace vintorel;

namespace {

void check_c_string(void (*decode)(char*), const std::uint8_t* data, std::size_t size) {
  // Exactly the line and its NUL, so that any access past the end is caught.
  char* line = static_cast<char*>(std::malloc(size + 1));
  std::memcpy(line, data, size);
  line[size] = '\0';
  const std::size_t before = std::strlen(line);
  decode(line);
  if (std::strlen(line) > before) abort();
  std::free(line);
}

void check_byte_string(void (*decode)(byte_string&), const std::uint8_t* data, std::size_t size) {
  byte_string line(reinterpret_cast<const char*>(data), size);  // embedded NULs included
  decode(line);
  if (line.size() > size) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  check_c_string(jis_to_sjis_in_place, data, size);
  check_c_string(euc_to_sjis_in_place, data, size);
  check_c_string(utf8_to_sjis_in_place, data, size);
  check_byte_string(jis_to_sjis_in_place, data, size);
  check_byte_string(euc_to_sjis_in_place, data, size);
  check_byte_string(utf8_to_sjis_in_place, data, size);
  for (int code = 0; code <= 6; ++code) {
    byte_string line(reinterpret_cast<const char*>(data), size);
    decode_in_place(line, static_cast<charset>(code));  // codes outside the enumeration too
    if (line.size() > size) abort();
  }
  return 0;
}
