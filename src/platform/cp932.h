// Code page 932 (Shift_JIS) character rules and conversion to and from Unicode.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_string.h"

namespace vintorel {

// 0x81-0x9F and 0xE0-0xFC start a double-byte character.
inline bool is_lead_byte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
// Whether a lead byte followed by `next` forms a double-byte character. Never
// with a control byte (below 0x20): a stray lead byte can then never swallow a
// TAB, a line end, the end mark or a zero byte, and the text model, the painter
// and the converters agree on where every character starts, so what is shown
// is what is saved.
inline bool pairs_with_lead(unsigned char next) { return next >= 0x20; }
// 0xA1-0xDF are single-byte half-width katakana.
bool is_kana(unsigned char c);

// Standard arithmetic mapping between a Shift_JIS double-byte code (lead bytes
// 0x81-0x9F, 0xE0-0xEF) and a JIS X 0208 code (rows 1-94); 0 for any code outside it.
unsigned jms_to_jis(unsigned sjis_code);
unsigned jis_to_jms(unsigned jis_code);

// Byte offset of the character before `position` in text[0, position), found by
// walking from the start; 0 when position is 0. Reads only text[0, position).
std::size_t previous_char(const char* text, std::size_t position);

// First occurrence of `needle` in `haystack` at or after `from` (itself a character
// start) that starts and ends on character boundaries, or npos. Case-sensitive.
// An empty needle matches at `from`.
std::size_t mbs_find(std::string_view haystack, std::string_view needle, std::size_t from = 0);
// Compares at most n bytes of a and b, folding ASCII letters only (a second
// byte of a double-byte character is never folded); <0, 0, >0 like strncmp,
// and like strncmp it stops after a NUL that both share.
int mbs_compare_nocase(const char* a, const char* b, std::size_t n);

// Conversions through glibc iconv ("CP932"). Characters with no Shift_JIS form
// become "?", and so do invalid input sequences (a byte that cannot start a
// character, a lead byte without a valid second byte, a code with no mapping,
// malformed UTF-8 or UTF-16); nothing is read past the end of the input.
bool sjis_to_utf16(std::string_view sjis, std::u16string& out);
bool utf16_to_sjis(std::u16string_view text, byte_string& out);
bool sjis_to_utf8_string(std::string_view sjis, std::string& out);
bool utf8_to_sjis_string(std::string_view utf8, byte_string& out);

// One character's mapping as the conversions above use it: `sjis_code` is a single
// byte (< 0x100) or a double-byte code (lead << 8 | trail); 0 when it has no
// Unicode form. The reverse gives a single byte or a double-byte code, 0 when the
// code point has no Shift_JIS form (ASCII maps to itself).
char16_t sjis_char_to_unicode(unsigned sjis_code);
unsigned unicode_to_sjis_char(char32_t code_point);

// Decodes `length` bytes of UTF-8 at `source` into Shift_JIS at `dest` and returns
// the number of bytes written, never more than `length`. `dest` may equal `source`
// (the conversion then works in place: it never writes ahead of what it has read).
std::size_t convert_utf8_to_sjis(const char* source, std::size_t length, char* dest);

}  // namespace vintorel
