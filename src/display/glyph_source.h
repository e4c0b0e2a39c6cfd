// Bitmap glyphs read from GNU Unifont .hex files and BDF fonts, keyed by
// Unicode code point: the glyph source of the font generator.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vintorel {

struct glyph_bitmap {
  int width = 0;
  int height = 0;
  // `height` rows of (width + 7) / 8 bytes, most significant bit leftmost.
  std::vector<std::uint8_t> rows;
  bool pixel(int x, int y) const;
};

using glyph_map = std::unordered_map<char32_t, glyph_bitmap>;

// Lines "CODE:DIGITS" (4 to 6 hex digits of code point, 32 × n hex digits of a
// 16-row bitmap 8 × n pixels wide). Lines that do not have this form are
// skipped. Returns the number of glyphs read.
std::size_t parse_hex_glyphs(std::string_view text, glyph_map& glyphs);

// A BDF font: each STARTCHAR ... ENDCHAR with ENCODING, BBX and BITMAP, placed
// in the font's bounding box. Encodings are Unicode unless the font's
// CHARSET_REGISTRY names JIS X 0208 (converted through Shift_JIS) or JIS X
// 0201 (half-width codes). Malformed glyphs are skipped. Returns the number of
// glyphs read.
std::size_t parse_bdf_glyphs(std::string_view text, glyph_map& glyphs);

// Reads a .hex or .bdf file (by its extension; .bdf, else .hex). False with a
// message when it cannot be read or holds no glyph.
bool load_glyph_file(const std::string& path, glyph_map& glyphs, std::string& message);

}  // namespace vintorel
