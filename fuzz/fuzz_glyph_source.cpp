// Fuzzes the font generator's glyph-source parsers (.hex and .bdf) and the
// single-byte font built from what they read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "display/font_generator.h"
#include "display/glyph_source.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  glyph_map hex;
  parse_hex_glyphs(text, hex);
  glyph_map bdf;
  parse_bdf_glyphs(text, bdf);
  // Every glyph read must be consistent with its own size.
  for (const auto& [code, glyph] : bdf) {
    if (glyph.rows.size() != static_cast<std::size_t>((glyph.width + 7) / 8) * glyph.height) __builtin_trap();
    glyph.pixel(glyph.width - 1, glyph.height - 1);
  }
  make_single_byte_font(bdf.empty() ? hex : bdf);
  return 0;
}
