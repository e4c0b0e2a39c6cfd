// Pixel blocks written straight into an image: solid fills, copies, and glyph
// cells composed from a glyph sheet in the image's pixel format or from a
// glyph's ink mask.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vintorel {

// Where a block starts, rows `stride` bytes apart.
struct image_rows {
  std::uint8_t* first = nullptr;
  std::size_t stride = 0;
};

// The pixel values a glyph is composed with. A sheet pixel equal to `ink`
// becomes `foreground`, one equal to `blank` becomes `background`, any other
// is copied. `foreground` is what the ink turns into after the background has
// been laid under the blank pixels: the background itself when the glyph colour
// has the blank value.
struct glyph_values {
  std::uint32_t ink = 0;
  std::uint32_t blank = 0;
  std::uint32_t foreground = 0;
  std::uint32_t background = 0;
};

// `width` × `height` pixels of `value`; `bytes_per_pixel` is 2 or 4.
void fill_block(const image_rows& to, int width, int height, std::uint32_t value, int bytes_per_pixel);

// `height` rows of `row_bytes` each.
void copy_block(const image_rows& to, const image_rows& from, std::size_t row_bytes, int height);

// A glyph of `width` × `height` pixels from `sheet` (rows `sheet_stride` bytes
// apart) in the colours of `values`.
void glyph_block(const image_rows& to, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
                 const glyph_values& values, int bytes_per_pixel);

// 16-bit words per row of a glyph's ink mask: one up to 16 pixels, else two
// (low half first); at most 32 pixels.
constexpr int mask_words(int width) { return width <= 16 ? 1 : 2; }

// A glyph from its ink mask: bit x of row y set where pixel (x, y) is ink.
// Ink pixels take `ink_value`, the others `other_value`. The same pixels go to
// `also` too unless its `first` is null (one pass writing two images is
// cheaper than writing one and copying it).
void mask_block(const image_rows& to, const image_rows& also, const std::uint16_t* rows, int width, int height,
                std::uint32_t ink_value, std::uint32_t other_value, int bytes_per_pixel);

// Whether mask_block may use vectors wider than 16 bytes where the processor
// has them (it does by default); true when it now does. For tests of the
// narrower path.
bool allow_wide_vectors(bool allow);

// The ink mask of a glyph in a sheet: bit x of row y set where the sheet's
// pixel equals `ink` (`width` at most 32). False when a pixel is neither `ink`
// nor `blank` (the mask then does not say all there is).
bool make_mask(std::uint16_t* rows, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
               std::uint32_t ink, std::uint32_t blank, int bytes_per_pixel);

}  // namespace vintorel
