// The font generator: the double-byte FONTX2 file it writes, and a run from
// both kinds of glyph source.
#include <gtest/gtest.h>

#include <filesystem>

#include "display/font_generator.h"
#include "display/fontx2.h"
#include "display/glyph_source.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

const std::string data_dir = VINTOREL_TEST_DATA;

// The glyph of a double-byte code in a FONTX2 file as hex digits; "" when no
// block holds it.
std::string glyph_hex(const std::vector<std::uint8_t>& font, unsigned code) {
  std::size_t count = font[17], at = 18 + 4 * count;
  for (std::size_t b = 0; b < count; ++b) {
    unsigned start = font[18 + 4 * b] | (font[19 + 4 * b] << 8), end = font[20 + 4 * b] | (font[21 + 4 * b] << 8);
    if (code >= start && code <= end) {
      std::string hex;
      for (std::size_t i = at + (code - start) * 32, n = i + 32; i < n; ++i) {
        hex += "0123456789ABCDEF"[font[i] >> 4];
        hex += "0123456789ABCDEF"[font[i] & 15];
      }
      return hex;
    }
    if (end >= start) at += (end - start + 1) * 32;
  }
  return "";
}

TEST(DoubleByteFont, GlyphsComeFromTheirUnicodeCharacter) {
  glyph_map glyphs;
  std::string message;
  ASSERT_TRUE(load_glyph_file(data_dir + "/tiny.hex", glyphs, message)) << message;
  std::vector<code_block> blocks = cp932_double_byte_blocks();
  std::vector<std::uint8_t> font = make_double_byte_font(glyphs, blocks);
  font_header h;
  ASSERT_TRUE(parse_font_header(font.data(), font.size(), h));
  EXPECT_TRUE(h.double_byte && h.width == 16 && h.height == 16);
  EXPECT_EQ(font[17], blocks.size());
  EXPECT_EQ(glyph_hex(font, 0x82A0), "9F72212201F9E00236C738F6FC2BE02B4B51F7338BE1AEA1352FF1F8B133F8F8");
  EXPECT_EQ(glyph_hex(font, 0x889F), "EED2F27759845BE58741C7771C97C0C8CD5FDD4C0A6FF3FB183658849D5DEC26");
  // Both code points of one IBM extension character share its glyph.
  EXPECT_EQ(glyph_hex(font, 0xED40), "B52E0F42FAF106F4C05CD968058DCA6C5E6195D803740CB62FA0F5F5331FC23F");
  EXPECT_EQ(glyph_hex(font, 0xFA5C), glyph_hex(font, 0xED40));
  // Unmapped codes inside a block and mapped codes without a glyph are blank.
  EXPECT_EQ(glyph_hex(font, 0x817F), std::string(64, '0'));
  EXPECT_EQ(glyph_hex(font, 0x82A2), std::string(64, '0'));
  // The file is the size its blocks say.
  std::size_t glyph_count = 0;
  for (const code_block& b : blocks) glyph_count += b.end - b.start + 1;
  EXPECT_EQ(font.size(), 18 + 4 * blocks.size() + 32 * glyph_count);
}

TEST(Generator, WritesBothFontsFromHexAndBdfAndNothingOnFailure) {
  test::scratch_dir dir;
  std::string message;
  EXPECT_EQ(run_font_generator({"s", dir.path + "a.fnt", dir.path + "none.hex"}, message), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.path + "a.fnt"));
  ASSERT_EQ(run_font_generator({"s", dir.path + "h.fnt", data_dir + "/tiny.hex"}, message), 0) << message;
  ASSERT_EQ(run_font_generator({"m", dir.path + "z.fnt", data_dir + "/tiny.bdf"}, message), 0) << message;
  EXPECT_FALSE(std::filesystem::exists(dir.path + "h.fnt.part"));
  // The pair passes the editor's start-up check.
  font_check check;
  check.half_width_font = "h.fnt";
  check.full_width_font = "z.fnt";
  check.directory = dir.path;
  check.show_error = [](int id) { ADD_FAILURE() << id; };
  EXPECT_TRUE(check_fonts(check));
}

}  // namespace
}  // namespace vintorel
