// Characters of a line in the internal form: how long each one is, which
// character class it belongs to (for words), and stepping back over them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/byte_string.h"
#include "platform/cp932.h"

namespace vintorel {

constexpr unsigned char cr_byte = 13;
constexpr unsigned char lf_byte = 10;
constexpr unsigned char tab_byte = 9;
constexpr unsigned char end_mark = 26;  // the end-of-text mark ending the last line

// Bytes of the character at `offset` of `text`: 2 for a double-byte character,
// 1 otherwise, 0 past the end.
std::size_t character_length(const byte_string& text, std::size_t offset);

// Whether `p` points at the second byte of a double-byte character, found by
// walking from `line_start` character by character. A `p` before `line_start`
// counts as inside a character; `p` equal to `line_start` does not.
bool is_trail_byte(const char* line_start, const char* p);

// Whether the character that ends just before `p` is double-byte.
bool follows_double_byte(const char* line_start, const char* p);

// Word classes: 0 ASCII letters, digits and "_"; 1 half-width katakana; 2 any
// other single byte; 3 full-width Latin letters; 4 full-width digits;
// 5 hiragana; 6 katakana and the prolonged sound mark; 7 kanji; 8 any other
// double-byte character. `p` must point into a zero-terminated line.
int character_class(const char* p);

// The same for the character at `offset` of `text` (2 past the end).
int character_class_at(const byte_string& text, std::size_t offset);

}  // namespace vintorel
