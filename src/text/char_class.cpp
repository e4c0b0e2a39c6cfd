// Character lengths, word classes and stepping back over characters in lines of
// the internal form.
#include "text/char_class.h"

#include "platform/cp932.h"

namespace vintorel {

std::size_t character_length(const byte_string& text, std::size_t offset) {
  if (offset >= text.size()) return 0;
  if (is_lead_byte(static_cast<unsigned char>(text[offset])) && offset + 1 < text.size() &&
      pairs_with_lead(static_cast<unsigned char>(text[offset + 1])))
    return 2;
  return 1;
}

bool is_trail_byte(const char* line_start, const char* p) {
  if (p < line_start) return true;
  const char* q = line_start;
  // q < p, so q[1] is at most p and always readable.
  while (q < p) {
    if (is_lead_byte(static_cast<unsigned char>(q[0])) &&
        pairs_with_lead(static_cast<unsigned char>(q[1])))
      q += 2;
    else
      q += 1;
  }
  return q != p;
}

bool follows_double_byte(const char* line_start, const char* p) {
  if (p <= line_start) return false;
  // The character before p starts one byte back, or two when that byte is the
  // second byte of a double-byte character.
  return is_trail_byte(line_start, p - 1);
}

namespace {

int double_byte_class(unsigned code) {
  if ((code >= 0x8260 && code <= 0x8279) || (code >= 0x8281 && code <= 0x829A)) return 3;
  if (code >= 0x824F && code <= 0x8258) return 4;
  if (code >= 0x829F && code <= 0x82F1) return 5;
  if ((code >= 0x8340 && code <= 0x8394) || code == 0x815B) return 6;
  if (code >= 0x889F) return 7;
  return 8;
}

int single_byte_class(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
    return 0;
  if (is_kana(c)) return 1;
  return 2;
}

}  // namespace

int character_class(const char* p) {
  unsigned char c = static_cast<unsigned char>(p[0]);
  if (is_lead_byte(c)) {
    unsigned char next = static_cast<unsigned char>(p[1]);
    if (pairs_with_lead(next)) return double_byte_class(c * 256u + next);
  }
  return single_byte_class(c);
}

int character_class_at(const byte_string& text, std::size_t offset) {
  if (offset >= text.size()) return 2;
  unsigned char c = static_cast<unsigned char>(text[offset]);
  if (character_length(text, offset) == 2)
    return double_byte_class(c * 256u + static_cast<unsigned char>(text[offset + 1]));
  return single_byte_class(c);
}

}  // namespace vintorel
