// The character-set detector's rules written out plainly, one byte at a time,
// for the tests and the fuzz target to check the run-skipping detector against.
#pragma once
#include <cstddef>
#include <cstdint>

#include "files/charset.h"

namespace vintorel::test_support {

// Strict UTF-8, decoded code point by code point: no overlong form, no
// surrogate, nothing past U+10FFFF, no sequence cut off at the end.
inline bool strict_utf8(const std::uint8_t* data, std::size_t size, bool& multibyte) {
  multibyte = false;
  for (std::size_t i = 0; i < size;) {
    const std::uint32_t lead = data[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || size - i < length) return false;
    std::uint32_t code = lead & (0xFFu >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
      if ((data[i + k] & 0xC0) != 0x80) return false;
      code = code << 6 | (data[i + k] & 0x3F);
    }
    const std::uint32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    multibyte = true;
    i += length;
  }
  return true;
}

// `guess`: the "detect UTF8" decision, made unless an ESC, 0xFD, 0xFE or NUL decided.
inline void reference_detect(const std::uint8_t* data, std::size_t size, charset& charset_code,
                             linefeed_kind& linefeed_code, bool guess = false) {
  charset_code = shift_jis;
  linefeed_code = crlf;
  bool charset_fixed = false, linefeed_fixed = false, ascii = true, euc = true, utf = true, by_byte = false;
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
      charset_fixed = by_byte = true;
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
    if (charset_fixed && linefeed_fixed) break;
    p2 = p1;
    p1 = c;
  }
  if (!linefeed_fixed && p1 == '\r') linefeed_code = cr;
  if (!guess || by_byte) return;
  // The UTF-8 check covers the whole text, up to the first 0x1A.
  std::size_t text_end = 0;
  while (text_end < size && data[text_end] != 0x1A) ++text_end;
  bool multibyte = false;
  if (strict_utf8(data, text_end, multibyte) && multibyte) {
    charset_code = utf8;
  } else if (euc && !ascii) {
    charset_code = euc_jp;
  }
}

}  // namespace vintorel::test_support
