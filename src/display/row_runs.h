// What the painter knows of the images without reading them: per text row,
// and per gap between rows, a stretch of pixel columns that holds one pixel
// value in the text image, and one in the screen image. Painting a line then
// clears only the part of the row end that does not hold the background
// already. Every write to either image must be told here (the surface
// operations and the image writer do), and a new set of surfaces starts with
// nothing known.
#pragma once
#include <cstdint>
#include <vector>

#include "display/surfaces.h"

namespace vintorel {

// Pixel columns [from, to) of one band (a row's H pixel lines, or the B lines
// of the gap below it).
struct pixel_run {
  int from = 0;
  int to = 0;
  std::uint32_t value = 0;
  bool empty() const { return from >= to; }
};

// What is known of one band in each image.
struct band_runs {
  pixel_run text;
  pixel_run screen;
};

// Which images a write went to.
enum image_set : int { text_only = 1, screen_only = 2, both_images = 3 };

struct row_runs {
  int pitch = 0;   // H + B the runs were recorded with: rows start at row × pitch
  int height = 0;  // H
  std::vector<band_runs> rows;
  std::vector<band_runs> gaps;  // the gap below each row
};

// Nothing known any more.
void forget_all(row_runs& runs);
// Pixels of `written` changed in `images`: each run they touch keeps only its
// part to the right of them (the part a line painter can use; a run cut in
// two loses its left part).
void forget_written(row_runs& runs, const pixel_rect& written, image_set images = both_images);
// `area` of the text image was copied to the same place in the screen image
// (after forget_written for the screen): a band it covers from top to bottom
// knows in the screen what it knows in the text there.
void copied_text_to_screen(row_runs& runs, const pixel_rect& area);
// Pixel columns [from, to) of both images over the cell band of text row
// `row`, rows being `pitch` apart and `height` high (a glyph cell): the same
// as forget_written, inline and without a division, as every glyph drawn
// tells it.
inline void forget_cells_written(row_runs& runs, int row, int pitch, int height, int from, int to) {
  if (runs.rows.empty() && runs.gaps.empty()) return;
  if (runs.pitch != pitch || runs.height != height) {
    forget_written(runs, pixel_rect{from, row * pitch, to - from, height});
    return;
  }
  if (static_cast<unsigned>(row) >= runs.rows.size()) return;
  band_runs& band = runs.rows[static_cast<std::size_t>(row)];
  if (to > band.text.from && from < band.text.to && from < to) band.text.from = to;
  if (to > band.screen.from && from < band.screen.to && from < to) band.screen.from = to;
}
// What is known of `row` (with `gap`, of the gap below it) when the rows
// have this geometry; nothing otherwise.
band_runs known_runs(const row_runs& runs, int row, int pitch, int height, bool gap = false);
// The images hold `known` on `row` (rows `pitch` apart, `height` high) or
// with `gap` in the gap below it; a different geometry than recorded so far
// forgets everything else first.
void remember_runs(row_runs& runs, int row, int pitch, int height, const band_runs& known, bool gap = false);

}  // namespace vintorel
