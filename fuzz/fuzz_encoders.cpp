// Fuzzes the three line encoders with their size functions over arbitrary lines:
// exact sizes must be exact, the UTF-8 bound must hold, a buffer one byte short must
// be refused without a write past it, and decoding an encoded line once normalises it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/charset.h"

using namespace vintorel;

namespace {

// Encodes into a buffer of exactly the size function's result; returns the output
// without its NUL.
std::string encode_exactly(std::size_t (*size)(const char*), bool (*encode)(char*, std::size_t, const char*),
                           const char* source, bool exact) {
  const std::size_t n = size(source);
  if (n == 0) abort();
  char* buffer = static_cast<char*>(std::malloc(n));
  if (!encode(buffer, n, source)) abort();
  const std::size_t length = strnlen(buffer, n);
  if (length == n || (exact && length + 1 != n)) abort();
  std::string out(buffer, length);
  std::free(buffer);

  // One byte less than the real length (and a few smaller ones) must be refused.
  for (std::size_t capacity : {length, length / 2, std::size_t{0}}) {
    char* small = static_cast<char*>(std::malloc(capacity));
    if (encode(small, capacity, source)) abort();
    std::free(small);
  }
  return out;
}

std::string round_trip(const std::string& line, std::size_t (*size)(const char*),
                       bool (*encode)(char*, std::size_t, const char*), void (*decode)(byte_string&), bool exact) {
  byte_string text = encode_exactly(size, encode, line.c_str(), exact);
  decode(text);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));

  // After one trip every character is one the encoding can hold, so a second trip
  // changes nothing. ESC in the source is copied as it stands and then read as an
  // escape sequence, so ISO-2022-JP is checked only without it.
  const std::string euc = round_trip(line, sjis_to_euc_size, sjis_to_euc, euc_to_sjis_in_place, true);
  if (round_trip(euc, sjis_to_euc_size, sjis_to_euc, euc_to_sjis_in_place, true) != euc) abort();
  const std::string jis = round_trip(line, sjis_to_jis_size, sjis_to_jis, jis_to_sjis_in_place, true);
  if (line.find('\x1b') == std::string::npos &&
      round_trip(jis, sjis_to_jis_size, sjis_to_jis, jis_to_sjis_in_place, true) != jis)
    abort();
  const std::string utf = round_trip(line, sjis_to_utf8_size, sjis_to_utf8, utf8_to_sjis_in_place, false);
  if (round_trip(utf, sjis_to_utf8_size, sjis_to_utf8, utf8_to_sjis_in_place, false) != utf) abort();
  return 0;
}
