// The font generator: glyph sources (.hex and .bdf), the two FONTX2 files it
// writes, its command line, and the fonts it makes from GNU Unifont JP.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "display/font_generator.h"
#include "display/fontx2.h"
#include "display/glyph_source.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

const std::string data_dir = VINTOREL_TEST_DATA;

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::string s = read_text(path);
  return std::vector<std::uint8_t>(s.begin(), s.end());
}

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

TEST(HexGlyphs, ReadsWellFormedLinesAndSkipsTheRest) {
  glyph_map glyphs = tiny_glyphs();
  EXPECT_EQ(glyphs.size(), 8u);
  ASSERT_TRUE(glyphs.count(0x41));
  EXPECT_EQ(glyphs[0x41].width, 8);
  EXPECT_EQ(glyphs[0x41].height, 16);
  ASSERT_TRUE(glyphs.count(0x3042));
  EXPECT_EQ(glyphs[0x3042].width, 16);
  EXPECT_FALSE(glyphs.count(0x43));  // too short
  EXPECT_FALSE(glyphs.count(0x44));  // not hex
  glyph_map more;
  EXPECT_EQ(parse_hex_glyphs("1F600:" + std::string(64, 'F') + "\r\n110000:" + std::string(32, '0'), more), 1u);
  EXPECT_TRUE(more.count(0x1F600));
  EXPECT_EQ(parse_hex_glyphs("", more), 0u);
}

TEST(BdfGlyphs, PlacesGlyphsInTheFontBoxAndSkipsBrokenOnes) {
  glyph_map glyphs;
  std::string message;
  ASSERT_TRUE(load_glyph_file(data_dir + "/tiny.bdf", glyphs, message)) << message;
  ASSERT_TRUE(glyphs.count('A'));
  EXPECT_FALSE(glyphs.count('B'));  // a bad bitmap digit
  const glyph_bitmap& a = glyphs['A'];
  EXPECT_EQ(a.width, 8);
  EXPECT_EQ(a.height, 16);
  // A 5 × 7 glyph on the baseline of a box 16 high with 2 below: top row 7, x + 1.
  EXPECT_TRUE(a.pixel(3, 7));  // 0x20 → the third pixel of five
  EXPECT_FALSE(a.pixel(2, 7));
  EXPECT_TRUE(a.pixel(1, 13));  // 0x88 → first and fifth
  EXPECT_TRUE(a.pixel(5, 13));
  EXPECT_FALSE(a.pixel(1, 14));
  // A glyph wider than the box is cut at its edge.
  ASSERT_TRUE(glyphs.count(0x3042));
  EXPECT_TRUE(glyphs[0x3042].pixel(7, 0));

  glyph_map jis;
  ASSERT_TRUE(load_glyph_file(data_dir + "/tiny_jis.bdf", jis, message)) << message;
  ASSERT_TRUE(jis.count(0x3042));  // JIS 0x2422 is hiragana A
  EXPECT_TRUE(jis[0x3042].pixel(0, 13));
  EXPECT_FALSE(jis[0x3042].pixel(4, 13));
}

TEST(SingleByteFont, AsciiKatakanaMarksAndBlanks) {
  glyph_map glyphs = tiny_glyphs();
  std::vector<std::uint8_t> font = make_single_byte_font(glyphs);
  ASSERT_EQ(font.size(), 17u + 256 * 16);
  font_header h;
  ASSERT_TRUE(parse_font_header(font.data(), font.size(), h));
  EXPECT_FALSE(h.double_byte);
  EXPECT_EQ(h.width, 8);
  EXPECT_EQ(h.height, 16);
  auto cell = [&font](unsigned code) { return glyph_at(font, 17 + code * 16, 16); };
  EXPECT_EQ(cell('A'), hex_bytes("A042BE5CCCB1F2D8BEA7ED8808D878C7"));
  EXPECT_EQ(cell(0xB1), hex_bytes("04BC3869482FEBDFC56429C4CD13249F"));  // half-width katakana A
  for (unsigned code : {0x00u, 0x20u, 0x42u, 0x7Fu, 0x80u, 0xA0u, 0xFFu}) EXPECT_TRUE(blank(cell(code))) << code;
  // The three marks are visible and differ from each other.
  EXPECT_FALSE(blank(cell(7)));
  EXPECT_FALSE(blank(cell(30)));
  EXPECT_FALSE(blank(cell(31)));
  EXPECT_NE(cell(7), cell(30));
  EXPECT_NE(cell(30), cell(31));
  EXPECT_NE(cell(7), cell(31));
}

TEST(DoubleByteFont, BlocksCoverEveryMappedCode) {
  std::vector<code_block> blocks = cp932_double_byte_blocks();
  ASSERT_FALSE(blocks.empty());
  ASSERT_LE(blocks.size(), 255u);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_LE(blocks[i].start, blocks[i].end);
    EXPECT_EQ(blocks[i].start >> 8, blocks[i].end >> 8);
    if (i) {
      EXPECT_LT(blocks[i - 1].end, blocks[i].start);
    }
  }
  auto covered = [&blocks](unsigned code) {
    for (const code_block& b : blocks)
      if (code >= b.start && code <= b.end) return true;
    return false;
  };
  // JIS X 0208, the NEC row 13 and selected IBM extensions, the IBM extensions.
  for (unsigned code : {0x8140u, 0x82A0u, 0x889Fu, 0x9FFCu, 0xE040u, 0xEAA4u, 0x8740u, 0xED40u, 0xEEFCu, 0xFA40u,
                        0xFC4Bu})
    EXPECT_TRUE(covered(code)) << std::hex << code;
  EXPECT_FALSE(covered(0x8540u));  // row 9 is empty in code page 932
  EXPECT_EQ(cp932_code_point(0x82A0), char32_t(0x3042));
  EXPECT_EQ(cp932_code_point(0x8540), char32_t(0xFFFFFFFF));
  EXPECT_EQ(cp932_code_point(0xB1), char32_t(0xFF71));
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

TEST(DoubleByteFont, LoadsIntoTheSheets) {
  glyph_map glyphs = tiny_glyphs();
  std::vector<std::uint8_t> font = make_double_byte_font(glyphs, cp932_double_byte_blocks());
  std::vector<std::vector<std::uint32_t>> pixels(24, std::vector<std::uint32_t>(512 * 256));
  std::array<sheet_pixels, 24> sheets;
  for (int i = 0; i < 24; ++i) sheets[i] = sheet_pixels{reinterpret_cast<std::uint8_t*>(pixels[i].data()), 512, 256};
  ASSERT_TRUE(load_full_width_glyph_bytes(font.data(), font.size(), sheets, glyph_target{8, 16, 32, 1}));
  glyph_slot slot;
  ASSERT_TRUE(full_width_slot(0x82A0, slot));
  // First row of hiragana A: 0x9F72 → pixels 0, 3, 4 ... set.
  const std::vector<std::uint32_t>& sheet = pixels[slot.sheet];
  int x0 = slot.column * 16, y0 = slot.row * 16;
  unsigned row = 0;
  for (int x = 0; x < 16; ++x) row = (row << 1) | sheet[y0 * 512 + x0 + x];
  EXPECT_EQ(row, 0x9F72u);
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

TEST(Generator, FontsFromUnifontJapanese) {
  if (!std::filesystem::exists(default_glyph_source)) GTEST_SKIP() << "unifont is not installed";
  test::scratch_dir dir;
  std::string message;
  ASSERT_EQ(run_font_generator({"s", dir.path + "h.fnt", "WINDOWS"}, message), 0) << message;
  ASSERT_EQ(run_font_generator({"m", dir.path + "z.fnt", "WINDOWS"}, message), 0) << message;
  std::vector<std::uint8_t> half = read_bytes(dir.path + "h.fnt");
  std::vector<std::uint8_t> full = read_bytes(dir.path + "z.fnt");
  ASSERT_EQ(half.size(), 17u + 256 * 16);
  for (unsigned code : {unsigned('A'), unsigned('z'), unsigned('~'), 0xB1u, 0xDFu})
    EXPECT_FALSE(blank(glyph_at(half, 17 + code * 16, 16))) << code;
  for (unsigned code : {0x82A0u, 0x889Fu, 0x9FFCu, 0xE040u, 0xEAA4u, 0x8740u, 0xED40u, 0xFA5Cu, 0xFC4Bu}) {
    std::size_t at = glyph_offset(full, code);
    ASSERT_NE(at, 0u) << std::hex << code;
    EXPECT_FALSE(blank(glyph_at(full, at, 32))) << std::hex << code;
  }
  // Loads completely into the sheets.
  std::vector<std::vector<std::uint16_t>> pixels(24, std::vector<std::uint16_t>(512 * 256));
  std::array<sheet_pixels, 24> sheets;
  for (int i = 0; i < 24; ++i) sheets[i] = sheet_pixels{reinterpret_cast<std::uint8_t*>(pixels[i].data()), 512, 256};
  EXPECT_TRUE(load_full_width_glyphs(dir.path + "z.fnt", sheets, glyph_target{8, 16, 16, 0xFFFF}));
}

}  // namespace
}  // namespace vintorel
