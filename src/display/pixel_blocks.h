// Pixel blocks written straight into two images at once (the text image and
// the screen image, which share their size and layout): solid fills and glyph
// cells composed from a glyph sheet in the images' pixel format.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vintorel {

// Where a block goes: the same offset in both images, rows `stride` bytes apart.
struct twin_rows {
  std::uint8_t* first = nullptr;
  std::uint8_t* second = nullptr;
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
void fill_block(const twin_rows& to, int width, int height, std::uint32_t value, int bytes_per_pixel);

// A glyph of `width` × `height` pixels from `sheet` (rows `sheet_stride` bytes
// apart) in the colours of `values`.
void glyph_block(const twin_rows& to, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
                 const glyph_values& values, int bytes_per_pixel);

// A glyph from its ink mask: bit x of `rows[y]` set where pixel (x, y) is ink
// (`width` at most 32). Ink pixels take `ink_value`, the others `other_value`.
void mask_block(const twin_rows& to, const std::uint32_t* rows, int width, int height, std::uint32_t ink_value,
                std::uint32_t other_value, int bytes_per_pixel);

// The ink mask of a glyph in a sheet: bit x of row y set where the sheet's
// pixel equals `ink` (`width` at most 32). False when a pixel is neither `ink`
// nor `blank` (the mask then does not say all there is).
bool make_mask(std::uint32_t* rows, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
               std::uint32_t ink, std::uint32_t blank, int bytes_per_pixel);

}  // namespace vintorel
