// The full-width glyph loader and the start-up font check over bad files, and
// the generator runner.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <chrono>

#include "display/fontx2.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::full_font;
using test::half_font;
using test::scratch_dir;

constexpr std::uint32_t ink = 0xABCDEF;

// The 24 full-width sheets of an 8 × 16 font in plain memory, 32-bit pixels.
struct memory_sheets {
  std::vector<std::vector<std::uint32_t>> pixels{24, std::vector<std::uint32_t>(512 * 256, 0)};
  std::array<sheet_pixels, 24> views() {
    std::array<sheet_pixels, 24> v;
    for (int i = 0; i < 24; ++i) v[i] = sheet_pixels{reinterpret_cast<std::uint8_t*>(pixels[i].data()), 512, 256};
    return v;
  }
  bool load(const std::vector<std::uint8_t>& font, std::size_t size = SIZE_MAX) {
    return load_full_width_glyph_bytes(font.data(), std::min(size, font.size()), views(), glyph_target{8, 16, 32, ink});
  }
};

TEST(FullWidthLoader, CodesWithoutASlotAreReadAndSkipped) {
  memory_sheets sheets;
  // 0x0041 and 0xF03F have no slot; 0xFFFF ends the block at the top code
  // without the loop running away.
  ASSERT_TRUE(sheets.load(full_font({{0x0041, 0x0041}, {0xF03F, 0xF040}, {0xFFFE, 0xFFFF}, {0x8140, 0x8140}})));
  std::size_t inked = 0;
  for (const auto& s : sheets.pixels)
    for (std::uint32_t p : s) inked += p == ink;
  EXPECT_EQ(inked, std::size_t(std::popcount(0xF040u) + 16 + std::popcount(0x8140u) + 16));
}

TEST(FullWidthLoader, RefusesCutFilesLyingHeadersAndWrongSizes) {
  memory_sheets sheets;
  const std::vector<std::uint8_t> good = full_font({{0x8140, 0x8142}, {0x889F, 0x88A0}});
  // Every truncation fails, and never writes outside the sheets (checked by
  // the sanitizers).
  for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(sheets.load(good, n)) << n;
  EXPECT_TRUE(sheets.load(good));
  // A block count larger than the table, a block running past the end.
  std::vector<std::uint8_t> more = good;
  more[17] = 200;
  EXPECT_FALSE(sheets.load(more));
  std::vector<std::uint8_t> huge = full_font({{0x8140, 0x8140}});
  huge[18 + 2] = 0xFF, huge[18 + 3] = 0xFF;
  EXPECT_FALSE(sheets.load(huge));
  // Sizes that disagree with the sheets' cells, and a single-byte font.
  for (auto [w, h] : std::vector<std::pair<int, int>>{{17, 16}, {14, 16}, {16, 15}, {0, 16}, {255, 255}})
    EXPECT_FALSE(sheets.load(full_font({{0x8140, 0x8140}}, w, h))) << w;
  EXPECT_FALSE(sheets.load(half_font()));
}

TEST(FullWidthLoader, SheetsSmallerThanTheGridAreNotOverrun) {
  // A back end that made smaller sheets than the cell size asks for: glyphs
  // that do not fit are left out instead of written past the memory.
  std::vector<std::vector<std::uint32_t>> small(24, std::vector<std::uint32_t>(64 * 32));
  std::array<sheet_pixels, 24> views;
  for (int i = 0; i < 24; ++i) views[i] = sheet_pixels{reinterpret_cast<std::uint8_t*>(small[i].data()), 64, 32};
  std::vector<std::uint8_t> font = full_font({{0x8140, 0x81FC}, {0xFCFC, 0xFCFC}});
  EXPECT_TRUE(load_full_width_glyph_bytes(font.data(), font.size(), views, glyph_target{8, 16, 32, ink}));
}

TEST(CheckFonts, RefusesFontsOfTheWrongKindOrSize) {
  const std::vector<std::uint8_t> one_block = full_font({{0x8140, 0x8140}});
  const std::vector<std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>> cases = {
      {half_font(), full_font({{0x8140, 0x8140}}, 17, 16)},
      {half_font(), full_font({{0x8140, 0x8140}}, 16, 15)},
      {half_font(), half_font()},  // single-byte as "font file MB"
      {one_block, one_block},      // double-byte as "font file"
      {test::font_header_bytes(0, 16, false), full_font({{0x8140, 0x8140}}, 0, 16)},  // empty cells
      {std::vector<std::uint8_t>{'F', 'O', 'N', 'T'}, one_block},                     // cut header
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    scratch_dir dir;
    std::vector<int> errors;
    font_check check;
    check.half_width_font = "h.fnt";
    check.full_width_font = "z.fnt";
    check.directory = dir.path;
    check.show_error = [&errors](int id) { errors.push_back(id); };
    check.run = [](const std::vector<std::string>&, const std::string&) { return true; };
    dir.write("h.fnt", cases[i].first);
    dir.write("z.fnt", cases[i].second);
    EXPECT_FALSE(check_fonts(check)) << i;
    EXPECT_EQ(errors, std::vector<int>{36}) << i;
  }
  // A FIFO named as a font file is refused at once; reading it would wait for
  // a writer for ever.
  scratch_dir dir;
  ASSERT_EQ(mkfifo((dir.path + "fifo.fnt").c_str(), 0600), 0);
  font_header header;
  EXPECT_FALSE(read_font_header(dir.path + "fifo.fnt", header));
}

TEST(RunAndWait, StartsWithoutAShellAndKeepsToTheTimeLimit) {
  scratch_dir dir;
  EXPECT_FALSE(run_and_wait({dir.path + "no-such-program"}, dir.path, 1000));
  // Shell syntax is a plain argument, and the child runs in the given directory.
  ASSERT_TRUE(run_and_wait({"/usr/bin/touch", "a;b"}, dir.path, 10000));
  EXPECT_TRUE(std::filesystem::exists(dir.path + "a;b"));
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(run_and_wait({"/bin/sleep", "10"}, dir.path, 200));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vintorel
