// Glyph rows from ink masks against a pixel-by-pixel reading of the mask, for
// every width a mask can have (so each vector width and tail is met), in both
// pixel sizes, into one image and into two at once, with and without the
// wider vectors.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "display/pixel_blocks.h"

namespace vintorel {
namespace {

constexpr int rows_high = 5;
constexpr int margin = 3;  // pixels on either side that must stay untouched

struct test_image {
  int bytes_per_pixel;
  int width;
  std::vector<std::uint8_t> bytes;
  test_image(int bpp, int w) : bytes_per_pixel(bpp), width(w + 2 * margin), bytes(stride() * rows_high, 0xAB) {}
  std::size_t stride() const { return static_cast<std::size_t>(width * bytes_per_pixel); }
  image_rows at_margin() { return {bytes.data() + margin * bytes_per_pixel, stride()}; }
  std::uint32_t pixel(int x, int y) const {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + y * stride() + x * bytes_per_pixel, static_cast<std::size_t>(bytes_per_pixel));
    return v;
  }
};

// Every width and pixel size, with the vectors this processor allows.
void check_every_width() {
  std::mt19937 random(3);
  for (int bytes_per_pixel : {2, 4}) {
    const std::uint32_t ink = bytes_per_pixel == 2 ? 0x8421 : 0x00123456;
    const std::uint32_t other = bytes_per_pixel == 2 ? 0x7BDE : 0x00FEDCBA;
    for (int width = 1; width <= 32; ++width) {
      std::vector<std::uint16_t> mask(static_cast<std::size_t>(rows_high * mask_words(width)));
      for (std::uint16_t& word : mask) word = static_cast<std::uint16_t>(random());
      for (bool both : {false, true}) {
        test_image one(bytes_per_pixel, width), two(bytes_per_pixel, width);
        mask_block(one.at_margin(), both ? two.at_margin() : image_rows{}, mask.data(), width, rows_high, ink, other,
                   bytes_per_pixel);
        for (int y = 0; y < rows_high; ++y) {
          std::uint32_t bits = mask[static_cast<std::size_t>(y * mask_words(width))];
          if (mask_words(width) == 2) bits |= static_cast<std::uint32_t>(mask[static_cast<std::size_t>(2 * y + 1)]) << 16;
          for (int x = 0; x < one.width; ++x) {
            const int in_glyph = x - margin;
            const std::uint32_t untouched = bytes_per_pixel == 2 ? 0xABAB : 0xABABABAB;
            const std::uint32_t want = in_glyph < 0 || in_glyph >= width ? untouched
                                       : (bits >> in_glyph) & 1    ? ink
                                                                   : other;
            ASSERT_EQ(one.pixel(x, y), want) << bytes_per_pixel << " bytes, width " << width << " at " << x << "," << y;
            ASSERT_EQ(two.pixel(x, y), both ? want : untouched) << "second image, width " << width;
          }
        }
      }
    }
  }
}

TEST(MaskBlock, EveryWidthMatchesThePixelsTheMaskNames) {
  check_every_width();
  if (allow_wide_vectors(false)) FAIL() << "wide vectors could not be turned off";
  check_every_width();
  allow_wide_vectors(true);
}

}  // namespace
}  // namespace vintorel
