// The font generator: the double-byte FONTX2 file it writes and its command
// line with its failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "display/font_generator.h"
#include "display/fontx2.h"
#include "display/glyph_source.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

const std::string data_dir = VINTOREL_TEST_DATA;

// The 16 or 32 bytes of a glyph as written in a .hex line.
std::vector<std::uint8_t> hex_bytes(const std::string& digits) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(std::stoi(digits.substr(i, 2), nullptr, 16));
  return out;
}

glyph_map tiny_glyphs() {
  glyph_map glyphs;
  std::string message;
  EXPECT_TRUE(load_glyph_file(data_dir + "/tiny.hex", glyphs, message)) << message;
  return glyphs;
}

// Offset of a double-byte code's glyph in a FONTX2 file, or 0 when no block holds it.
std::size_t glyph_offset(const std::vector<std::uint8_t>& font, unsigned code) {
  std::size_t count = font[17];
  std::size_t at = 18 + 4 * count;
  for (std::size_t b = 0; b < count; ++b) {
    unsigned start = font[18 + 4 * b] | (font[19 + 4 * b] << 8);
    unsigned end = font[20 + 4 * b] | (font[21 + 4 * b] << 8);
    if (code >= start && code <= end) return at + (code - start) * 32;
    if (end >= start) at += (end - start + 1) * 32;
  }
  return 0;
}

std::vector<std::uint8_t> glyph_at(const std::vector<std::uint8_t>& font, std::size_t offset, std::size_t size) {
  return std::vector<std::uint8_t>(font.begin() + offset, font.begin() + offset + size);
}

bool blank(const std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t b : bytes)
    if (b) return false;
  return true;
}

TEST(DoubleByteFont, GlyphsComeFromTheirUnicodeCharacter) {
  glyph_map glyphs = tiny_glyphs();
  std::vector<code_block> blocks = cp932_double_byte_blocks();
  std::vector<std::uint8_t> font = make_double_byte_font(glyphs, blocks);
  font_header h;
  ASSERT_TRUE(parse_font_header(font.data(), font.size(), h));
  EXPECT_TRUE(h.double_byte);
  EXPECT_EQ(h.width, 16);
  EXPECT_EQ(h.height, 16);
  EXPECT_EQ(font[17], blocks.size());
  const auto hiragana_a = hex_bytes("9F72212201F9E00236C738F6FC2BE02B4B51F7338BE1AEA1352FF1F8B133F8F8");
  EXPECT_EQ(glyph_at(font, glyph_offset(font, 0x82A0), 32), hiragana_a);
  // Both code points of one IBM extension character share its glyph.
  const auto ibm = hex_bytes("B52E0F42FAF106F4C05CD968058DCA6C5E6195D803740CB62FA0F5F5331FC23F");
  EXPECT_EQ(glyph_at(font, glyph_offset(font, 0xED40), 32), ibm);
  EXPECT_EQ(glyph_at(font, glyph_offset(font, 0xFA5C), 32), ibm);
  EXPECT_EQ(glyph_at(font, glyph_offset(font, 0x889F), 32),
            hex_bytes("EED2F27759845BE58741C7771C97C0C8CD5FDD4C0A6FF3FB183658849D5DEC26"));
  // Unmapped codes inside a block and mapped codes without a glyph are blank.
  EXPECT_TRUE(blank(glyph_at(font, glyph_offset(font, 0x817F), 32)));
  EXPECT_TRUE(blank(glyph_at(font, glyph_offset(font, 0x82A2), 32)));
  // The file is the size its blocks say.
  std::size_t glyph_count = 0;
  for (const code_block& b : blocks) glyph_count += b.end - b.start + 1;
  EXPECT_EQ(font.size(), 18 + 4 * blocks.size() + 32 * glyph_count);
}

TEST(Generator, CommandLineAndMessages) {
  test::scratch_dir dir;
  std::string message;
  EXPECT_EQ(run_font_generator({}, message), 2);
  EXPECT_NE(message.find("usage"), std::string::npos);
  EXPECT_EQ(run_font_generator({"x", dir.path + "a.fnt", "WINDOWS"}, message), 2);
  EXPECT_EQ(run_font_generator({"s", "", "WINDOWS"}, message), 2);
  EXPECT_EQ(run_font_generator({"s", dir.path + "a.fnt", dir.path + "none.hex"}, message), 1);
  EXPECT_NE(message.find(dir.path + "none.hex"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path + "a.fnt"));
  // A source without glyphs.
  dir.write("empty.hex", {'x', '\n'});
  EXPECT_EQ(run_font_generator({"s", dir.path + "a.fnt", dir.path + "empty.hex"}, message), 1);
  // An unwritable target.
  EXPECT_EQ(run_font_generator({"s", dir.path + "no/dir/a.fnt", data_dir + "/tiny.hex"}, message), 1);

  ASSERT_EQ(run_font_generator({"s", dir.path + "h.fnt", data_dir + "/tiny.hex"}, message), 0) << message;
  ASSERT_EQ(run_font_generator({"m", dir.path + "z.fnt", data_dir + "/tiny.bdf"}, message), 0) << message;
  EXPECT_FALSE(std::filesystem::exists(dir.path + "h.fnt.part"));
  // The pair passes the editor's start-up check.
  font_check check;
  check.half_width_font = "h.fnt";
  check.full_width_font = "z.fnt";
  check.directory = dir.path;
  std::vector<int> errors;
  check.show_error = [&errors](int id) { errors.push_back(id); };
  EXPECT_TRUE(check_fonts(check));
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace vintorel
