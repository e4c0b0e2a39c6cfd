// The font generator behind the "mkfontx2" program: FONTX2 files for the 256
// single-byte codes (8 × 16) and for every code page 932 double-byte code
// (16 × 16), drawn from a Unicode glyph source such as GNU Unifont JP.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "display/glyph_source.h"

namespace vintorel {

// The glyph source named "WINDOWS" on the command line.
constexpr const char* default_glyph_source = "/usr/share/unifont/unifont_jp.hex";

// Single-byte codes that show marks of their own: line feed, tab, end of file.
constexpr unsigned linefeed_mark_code = 7;
constexpr unsigned tab_mark_code = 30;
constexpr unsigned end_of_file_mark_code = 31;

// The Unicode character of a code page 932 code (single byte < 0x100, or lead
// << 8 | trail), or 0xFFFFFFFF when the code page maps it to nothing.
char32_t cp932_code_point(unsigned code);

struct code_block {
  unsigned start = 0;
  unsigned end = 0;  // included
};
// For each lead byte with mapped codes, one block from its first to its last
// mapped code.
std::vector<code_block> cp932_double_byte_blocks();

// The single-byte font: ASCII, half-width katakana 0xA1-0xDF, the three marks,
// blank cells elsewhere.
std::vector<std::uint8_t> make_single_byte_font(const glyph_map& glyphs);
// The double-byte font over `blocks` (unmapped codes and codes with no glyph
// are blank).
std::vector<std::uint8_t> make_double_byte_font(const glyph_map& glyphs, const std::vector<code_block>& blocks);

// The program: arguments after the program name ("s"|"m", FILE, SOURCE).
// Returns the exit status; `message` says what went wrong.
int run_font_generator(const std::vector<std::string>& args, std::string& message);

}  // namespace vintorel
