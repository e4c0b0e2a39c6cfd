// The full-width glyph loader over bad files, the start-up font check and the
// generator run.
#include <gtest/gtest.h>

#include <bit>
#include <chrono>

#include "display/fontx2.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::full_font;
using test::half_font;
using test::scratch_dir;

// The 24 full-width sheets of an 8 × 16 font in plain memory, 32-bit pixels.
struct memory_sheets {
  static constexpr int width = 512, height = 256;
  std::vector<std::vector<std::uint32_t>> pixels{24, std::vector<std::uint32_t>(width * height, 0)};
  std::array<sheet_pixels, 24> views() {
    std::array<sheet_pixels, 24> v;
    for (int i = 0; i < 24; ++i)
      v[i] = sheet_pixels{reinterpret_cast<std::uint8_t*>(pixels[i].data()), width, height};
    return v;
  }
  // The code a test glyph left at (sheet, column, row), read from its row 0;
  // 0 when that row holds no ink at all.
  unsigned code_at(int sheet, int column, int row) const {
    unsigned code = 0;
    for (int x = 0; x < 16; ++x)
      code = (code << 1) | (pixels[sheet][(row * 16) * width + column * 16 + x] == ink ? 1 : 0);
    return code;
  }
  std::size_t ink_pixels() const {
    std::size_t n = 0;
    for (const auto& s : pixels)
      for (std::uint32_t p : s) n += p == ink;
    return n;
  }
  static constexpr std::uint32_t ink = 0xABCDEF;
};

glyph_target target_8x16() { return glyph_target{8, 16, 32, memory_sheets::ink}; }

TEST(FullWidthLoader, CodesWithoutASlotAreReadAndSkipped) {
  memory_sheets sheets;
  // 0x0041 and 0xF03F have no slot; 0xFFFF ends the block at the top code
  // without the loop running away.
  std::vector<std::uint8_t> font = full_font({{0x0041, 0x0041}, {0xF03F, 0xF040}, {0xFFFE, 0xFFFF}, {0x8140, 0x8140}});
  ASSERT_TRUE(load_full_width_glyph_bytes(font.data(), font.size(), sheets.views(), target_8x16()));
  glyph_slot s;
  ASSERT_TRUE(full_width_slot(0xF040, s));
  EXPECT_EQ(sheets.code_at(s.sheet, s.column, s.row), 0xF040u);
  EXPECT_EQ(sheets.code_at(0, 0, 1), 0x8140u);
  EXPECT_EQ(sheets.ink_pixels(), std::size_t(std::popcount(0xF040u) + 16 + std::popcount(0x8140u) + 16));
}

TEST(FullWidthLoader, RefusesCutFilesLyingHeadersAndWrongSizes) {
  const std::vector<std::uint8_t> good = full_font({{0x8140, 0x8142}, {0x889F, 0x88A0}});
  // Every truncation fails, and never writes outside the sheets (checked by
  // the sanitizers).
  for (std::size_t n = 0; n < good.size(); ++n) {
    memory_sheets sheets;
    EXPECT_FALSE(load_full_width_glyph_bytes(good.data(), n, sheets.views(), target_8x16())) << n;
  }
  memory_sheets sheets;
  EXPECT_TRUE(load_full_width_glyph_bytes(good.data(), good.size(), sheets.views(), target_8x16()));
  // A block count larger than the table, a block running past the end.
  std::vector<std::uint8_t> more = good;
  more[17] = 200;
  EXPECT_FALSE(load_full_width_glyph_bytes(more.data(), more.size(), sheets.views(), target_8x16()));
  std::vector<std::uint8_t> huge = full_font({{0x8140, 0x8140}});
  huge[18 + 2] = 0xFF, huge[18 + 3] = 0xFF;
  EXPECT_FALSE(load_full_width_glyph_bytes(huge.data(), huge.size(), sheets.views(), target_8x16()));
  // Sizes that disagree with the sheets' cells, and a single-byte font.
  for (auto [w, h] : std::vector<std::pair<int, int>>{{17, 16}, {14, 16}, {16, 15}, {255, 255}}) {
    std::vector<std::uint8_t> odd = full_font({{0x8140, 0x8140}}, w, h);
    EXPECT_FALSE(load_full_width_glyph_bytes(odd.data(), odd.size(), sheets.views(), target_8x16())) << w;
  }
  std::vector<std::uint8_t> single = half_font();
  EXPECT_FALSE(load_full_width_glyph_bytes(single.data(), single.size(), sheets.views(), target_8x16()));
}

TEST(FullWidthLoader, SheetsSmallerThanTheGridAreNotOverrun) {
  // A back end that made smaller sheets than the cell size asks for: glyphs
  // that do not fit are left out instead of written past the memory.
  std::vector<std::vector<std::uint32_t>> small(24, std::vector<std::uint32_t>(64 * 32));
  std::array<sheet_pixels, 24> views;
  for (int i = 0; i < 24; ++i) views[i] = sheet_pixels{reinterpret_cast<std::uint8_t*>(small[i].data()), 64, 32};
  std::vector<std::uint8_t> font = full_font({{0x8140, 0x81FC}, {0xFCFC, 0xFCFC}});
  EXPECT_TRUE(load_full_width_glyph_bytes(font.data(), font.size(), views, target_8x16()));
}

struct check_setup {
  scratch_dir dir;
  std::vector<int> errors;
  std::vector<std::vector<std::string>> runs;
  font_check check;
  check_setup() {
    check.half_width_font = "h.fnt";
    check.full_width_font = "z.fnt";
    check.directory = dir.path;
    check.show_error = [this](int id) { errors.push_back(id); };
    check.run = [this](const std::vector<std::string>& argv, const std::string& directory) {
      runs.push_back(argv);
      EXPECT_EQ(directory, dir.path);
      return true;
    };
  }
};

TEST(CheckFonts, RefusesFontsOfTheWrongKindOrSize) {
  struct bad {
    std::vector<std::uint8_t> half, full;
  };
  std::vector<bad> cases = {
      {half_font(), full_font({{0x8140, 0x8140}}, 17, 16)},
      {half_font(), full_font({{0x8140, 0x8140}}, 14, 16)},
      {half_font(), full_font({{0x8140, 0x8140}}, 16, 15)},
      {half_font(), half_font()},                                          // single-byte as "font file MB"
      {full_font({{0x8140, 0x8140}}), full_font({{0x8140, 0x8140}})},      // double-byte as "font file"
      {test::font_header_bytes(0, 16, false), full_font({{0x8140, 0x8140}}, 0, 16)},  // empty cells
      {std::vector<std::uint8_t>{'F', 'O', 'N', 'T'}, full_font({{0x8140, 0x8140}})},  // cut header
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    check_setup s;
    s.dir.write("h.fnt", cases[i].half);
    s.dir.write("z.fnt", cases[i].full);
    EXPECT_FALSE(check_fonts(s.check)) << i;
    EXPECT_EQ(s.errors, std::vector<int>{36}) << i;
  }
}

TEST(CheckFonts, AGeneratorThatCannotStartOrDoesNothing) {
  {
    check_setup s;
    s.check.run = [](const std::vector<std::string>&, const std::string&) { return false; };
    EXPECT_FALSE(check_fonts(s.check));
    EXPECT_EQ(s.errors, std::vector<int>{29});
  }
  {
    check_setup s;  // runs, but leaves no file
    EXPECT_FALSE(check_fonts(s.check));
    EXPECT_EQ(s.errors, std::vector<int>{36});
  }
  {
    check_setup s;  // the real runner, with no generator in the directory
    s.check.run = nullptr;
    EXPECT_FALSE(check_fonts(s.check));
    EXPECT_EQ(s.errors, std::vector<int>{29});
  }
}

TEST(RunAndWait, StartsWithoutAShellAndKeepsToTheTimeLimit) {
  scratch_dir dir;
  EXPECT_FALSE(run_and_wait({dir.path + "no-such-program"}, dir.path, 1000));
  // The working directory is the one given: the child creates a file there.
  ASSERT_TRUE(run_and_wait({"/usr/bin/touch", "made-here"}, dir.path, 10000));
  EXPECT_TRUE(std::filesystem::exists(dir.path + "made-here"));
  // Shell syntax is passed as a plain argument.
  ASSERT_TRUE(run_and_wait({"/usr/bin/touch", "a;b"}, dir.path, 10000));
  EXPECT_TRUE(std::filesystem::exists(dir.path + "a;b"));
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(run_and_wait({"/bin/sleep", "10"}, dir.path, 200));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vintorel
