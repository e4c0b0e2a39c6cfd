// The character-set detector's rules written out plainly, one byte at a time,
// for the tests and the fuzz target to check the run-skipping detector against.
#pragma once
#include <cstddef>
#include <cstdint>

#include "files/charset.h"

namespace vintorel::test_support {

inline void reference_detect(const std::uint8_t* data, std::size_t size, int& charset_code,
                             int& linefeed_code) {
  charset_code = shift_jis;
  linefeed_code = crlf;
  bool charset_fixed = false, linefeed_fixed = false, ascii = true, euc = true, utf = true;
  unsigned p1 = 0, p2 = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned c = data[i];
    if (c == 0) {
      charset_code = binary;
      return;
    }
    if (c == 0x1A) break;
    if (c == '\n' || p1 == '\r') {  // LF, or whatever follows a CR
      linefeed_code = c != '\n' ? cr : p1 == '\r' ? crlf : lf;
      linefeed_fixed = true;
    }
    if (c == 0x1B || c == 0xFD || c == 0xFE) {
      charset_code = c == 0x1B ? iso2022jp : euc_jp;
      charset_fixed = true;
    }
    if (!charset_fixed) {
      if (c >= 0x80) ascii = false;
      if ((c >= 0x80 && c <= 0x8D) || (c >= 0x90 && c <= 0x9F) || (p1 == 0x8E && (c < 0xA0 || c > 0xDF)) ||
          (p1 == 0x8F && c < 0xA0) || (p2 < 0x80 && p1 >= 0xA0 && c < 0xA0))
        euc = false;
      if (c >= 0xF0 || ((c < 0x80 || c >= 0xC0) &&
                        ((p1 >= 0xC0 && p1 <= 0xEF) || (p2 >= 0xE0 && p2 <= 0xEF))))
        utf = false;
      charset_fixed = !ascii && !euc && !utf;  // Shift_JIS, as the code already says
    }
    if (charset_fixed && linefeed_fixed) return;
    p2 = p1;
    p1 = c;
  }
  if (!linefeed_fixed && p1 == '\r') linefeed_code = cr;
}

}  // namespace vintorel::test_support
