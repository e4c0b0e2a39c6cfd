// Character sets and line ends: their codes, names and cycles, and the line
// converters between the internal Shift_JIS form and ISO-2022-JP, EUC-JP and
// UTF-8. Plain byte work, so the text model decodes lines it fetches without
// the file layer.
#pragma once
#include <cstddef>

#include "platform/byte_string.h"

namespace vintorel {

// Scoped, so a charset is never taken for a line end or a plain number; the
// names are still used bare. The codes are what settings and menu ids count with.
enum class charset : int { binary = 1, shift_jis = 2, iso2022jp = 3, euc_jp = 4, utf8 = 5 };
enum class linefeed_kind : int { crlf = 1, lf = 2, cr = 3 };
using enum charset;
using enum linefeed_kind;

// Code 0: not known yet (a loader given it detects the file's own).
inline constexpr charset unknown_charset{};
inline constexpr linefeed_kind unknown_linefeed{};

constexpr int code_of(charset c) { return static_cast<int>(c); }
constexpr int code_of(linefeed_kind k) { return static_cast<int>(k); }

// Status line names ("SJIS", "JIS", ...; "" for anything else).
const char* charset_name(charset code);
const char* linefeed_name(linefeed_kind code);
// The cycles of change_charset and change_linefeed; other values stay as they are.
charset next_charset(charset code);
linefeed_kind next_linefeed(linefeed_kind code);

// In-place decoders: `line` is NUL-terminated; the result is never longer.
void jis_to_sjis_in_place(char* line);
void euc_to_sjis_in_place(char* line);
void utf8_to_sjis_in_place(char* line);
void jis_to_sjis_in_place(byte_string& line);
void euc_to_sjis_in_place(byte_string& line);
void utf8_to_sjis_in_place(byte_string& line);
// Decodes by `charset_code` (3, 4, 5; others leave the bytes unchanged).
void decode_in_place(byte_string& line, charset charset_code);

// Encoders: the size (NUL included) and the converter, which returns false when
// `capacity` is too small or the conversion fails. `source` is NUL-terminated.
std::size_t sjis_to_jis_size(const char* source);
bool sjis_to_jis(char* dest, std::size_t capacity, const char* source);
std::size_t sjis_to_euc_size(const char* source);
bool sjis_to_euc(char* dest, std::size_t capacity, const char* source);
std::size_t sjis_to_utf8_size(const char* source);
bool sjis_to_utf8(char* dest, std::size_t capacity, const char* source);

}  // namespace vintorel
