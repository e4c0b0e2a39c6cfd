// What the painter knows of the images without reading them: per text row, a
// stretch of pixel columns that holds one pixel value in both the text image
// and the screen image. Painting a line then clears only the part of the row
// end that does not hold the background already. Every write to either image
// must go through forget_written() (the surface operations and the image
// writer do), and a new set of surfaces starts with nothing known.
#pragma once
#include <cstdint>
#include <vector>

#include "display/surfaces.h"

namespace vintorel {

// Pixel columns [from, to) of one text row, over the row's H pixel lines.
struct pixel_run {
  int from = 0;
  int to = 0;
  std::uint32_t value = 0;
  bool empty() const { return from >= to; }
};

struct row_runs {
  int pitch = 0;   // H + B the runs were recorded with: rows start at row × pitch
  int height = 0;  // H
  std::vector<pixel_run> rows;
};

// Nothing known any more.
void forget_all(row_runs& runs);
// Pixels of `written` changed in the text image, the screen image or both:
// each run they touch keeps only its part to the right of them (the part a
// line painter can use; a run cut in two loses its left part).
void forget_written(row_runs& runs, const pixel_rect& written);
// The same for pixel columns [from, to) of the whole cell band of text row
// `row`, rows being `pitch` apart and `height` high (a glyph cell): inline and
// without a division, as every glyph drawn asks it.
inline void forget_cells_written(row_runs& runs, int row, int pitch, int height, int from, int to) {
  if (runs.rows.empty()) return;
  if (runs.pitch != pitch || runs.height != height) {
    forget_written(runs, pixel_rect{from, row * pitch, to - from, height});
    return;
  }
  if (row < 0 || static_cast<std::size_t>(row) >= runs.rows.size()) return;
  pixel_run& run = runs.rows[static_cast<std::size_t>(row)];
  if (to > run.from && from < run.to && from < to) run.from = to;
}
// The run known for `row` when the rows have this geometry; empty otherwise.
pixel_run known_run(const row_runs& runs, int row, int pitch, int height);
// Both images hold `run` on `row` (rows `pitch` apart, `height` high); a
// different geometry than recorded so far forgets everything else first.
void remember_run(row_runs& runs, int row, int pitch, int height, const pixel_run& run);

}  // namespace vintorel
