// Painting straight into the locked text and screen images: glyphs composed
// from the locked glyph sheets and solid fills, with the same pixels the
// surface copies of the painter give (the cell scratch is not needed for it).
// Both images are written in the same pass. Every surface is locked the
// first time it is needed and stays locked until release() or the writer's end.
#pragma once
#include <array>
#include <cstdint>

#include "display/display_context.h"
#include "display/pixel_blocks.h"

namespace vintorel {

class image_writer {
 public:
  explicit image_writer(display_context& display);
  ~image_writer();
  image_writer(const image_writer&) = delete;
  image_writer& operator=(const image_writer&) = delete;

  // False when the images cannot be written directly (no back end, a surface
  // missing or lost, a pixel format other than 16 or 32 bits, a lock refused):
  // the caller then draws with surface copies, which rebuild lost surfaces.
  bool usable() const { return usable_; }

  // A pixel rectangle of the images in `c` (clipped to the images).
  bool fill(const pixel_rect& area, const colour& c);
  // One character at cell (row, column), as draw_glyph composes it.
  bool glyph(int row, int column, unsigned code, const colour& fg, const colour& bg);
  // Cells [from_column, end_column) of `row` in `c`, as fill() leaves them,
  // leaving out what the images are known to hold in `c` already; the cells
  // are then known to hold it.
  bool clear_row_end(int row, int from_column, int end_column, const colour& c);
  // The same for the B pixel lines between `row` and the next, over those columns.
  bool clear_gap_below(int row, int from_column, int end_column, const colour& c);

  // Unlocks everything; the writer is unusable afterwards.
  void release();

 private:
  display_context& display_;
  bool usable_ = false;
  int bytes_per_pixel_ = 0;
  std::size_t stride_ = 0;
  std::uint8_t* text_ = nullptr;
  std::uint8_t* screen_ = nullptr;
  // Locked sheets by surface index (half-width first), null until needed.
  std::array<std::uint8_t*, 1 + full_width_sheet_count> sheets_{};
  std::uint32_t ink_ = 0;
  std::uint32_t blank_ = 0;
  // The glyph colours asked for last and the values they compose with.
  bool have_last_ = false;
  colour last_fg_{};
  colour last_bg_{};
  glyph_values last_values_{};
  int image_width_ = 0;
  int image_height_ = 0;
  // The glyph mask cache once checked against the metrics and colours (null
  // before): the masks and their states by glyph slot, and words per slot.
  std::uint16_t* masks_ = nullptr;
  std::uint8_t* masks_made_ = nullptr;
  std::size_t slot_words_ = 0;

  std::uint32_t value_of(const colour& c);
  std::uint8_t* sheet_pixels(int index);
  // The image rows at pixel (x, y).
  image_rows text_at(int x, int y) const;
  image_rows screen_at(int x, int y) const;
  // The block just written to the text image goes to the screen image too.
  void mirror(int x, int y, int width, int height);
  surface& sheet_surface(int index) const;
  // Fills `band`, the cells of `row` or with `gap` the gap below them, in
  // `c` but for the run known to hold it already, and remembers the band.
  bool clear_known(int row, bool gap, const pixel_rect& band, const colour& c);
  // Empties the glyph mask cache when it was made for other metrics or
  // colours, and points masks_ at it.
  void check_masks();
  // Takes the ink mask of glyph slot `slot` (sheet `sheet`, `width` × H pixels
  // at (source_x, source_y)) from the sheet; null when the sheet holds other
  // pixels there or holds the glyph only in part, or when it could not be
  // locked (`failed` is then set).
  const std::uint16_t* take_mask(int slot, int sheet, int source_x, int source_y, int width, bool& failed);
  // A glyph composed from its sheet pixel by pixel, clipped to the sheet and
  // the images, in the colours last_values_ holds.
  bool glyph_from_sheet(int sheet, pixel_rect source, int x, int y);
};

}  // namespace vintorel
