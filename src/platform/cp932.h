// Code page 932 (Shift_JIS) character rules and conversion to and from Unicode.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/byte_string.h"

namespace vintorel {

// 0x81-0x9F and 0xE0-0xFC start a double-byte character.
bool is_lead_byte(unsigned char c);
// 0xA1-0xDF are single-byte half-width katakana.
bool is_kana(unsigned char c);

// Standard arithmetic mapping between a Shift_JIS double-byte code (lead bytes
// 0x81-0x9F, 0xE0-0xEF) and a JIS X 0208 code (rows 1-94); 0 for any code outside it.
unsigned jms_to_jis(unsigned sjis_code);
unsigned jis_to_jms(unsigned jis_code);

// Byte offset of the character before `position` in text[0, position), found by
// walking from the start; 0 when position is 0.
std::size_t previous_char(const char* text, std::size_t position);

// First occurrence of `needle` in `haystack` that starts at a character start,
// or npos. Case-sensitive.
std::size_t mbs_find(std::string_view haystack, std::string_view needle, std::size_t from = 0);
// Compares at most n bytes of a and b, folding ASCII letters only (a second
// byte of a double-byte character is never folded); <0, 0, >0 like strncmp.
int mbs_compare_nocase(const char* a, const char* b, std::size_t n);

// Conversions through glibc iconv ("CP932"). Characters with no Shift_JIS form
// become "?". Invalid input sequences are replaced, never read past the end.
bool sjis_to_utf16(std::string_view sjis, std::u16string& out);
bool utf16_to_sjis(std::u16string_view text, byte_string& out);
bool sjis_to_utf8_string(std::string_view sjis, std::string& out);
bool utf8_to_sjis_string(std::string_view utf8, byte_string& out);

}  // namespace vintorel
