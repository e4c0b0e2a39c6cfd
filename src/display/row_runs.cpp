// Row runs: recorded by the line painter, cut back by every other write.
#include "display/row_runs.h"

#include <algorithm>

namespace vintorel {

void forget_all(row_runs& runs) {
  runs.rows.clear();
  runs.gaps.clear();
}

namespace {

// Pixel columns [from, to) of the whole band of `run` were written.
void cut(pixel_run& run, int from, int to) {
  if (run.empty() || to <= run.from || from >= run.to || from >= to) return;
  run.from = to;
}

// Calls `touched(band, covered)` for every band `area` reaches, `covered`
// telling whether it reaches from the band's top to its bottom.
template <class Touched>
void for_each_band(row_runs& runs, const pixel_rect& area, Touched touched) {
  if (area.empty() || (runs.rows.empty() && runs.gaps.empty()) || runs.pitch <= 0) return;
  const int top = std::max(area.y, 0);
  const int bottom = area.y + area.height;  // one past the last pixel line
  if (bottom <= top) return;
  const int first = top / runs.pitch;
  const int last =
      std::min((bottom - 1) / runs.pitch, static_cast<int>(std::max(runs.rows.size(), runs.gaps.size())) - 1);
  for (int row = first; row <= last; ++row) {
    const int y = row * runs.pitch;
    const int gap_y = y + runs.height;
    const int next_y = y + runs.pitch;
    const std::size_t r = static_cast<std::size_t>(row);
    if (r < runs.rows.size() && bottom > y && top < gap_y) touched(runs.rows[r], area.y <= y && bottom >= gap_y);
    if (r < runs.gaps.size() && bottom > gap_y && top < next_y)
      touched(runs.gaps[r], area.y <= gap_y && bottom >= next_y);
  }
}

}  // namespace

void forget_written(row_runs& runs, const pixel_rect& written, image_set images) {
  const int from = written.x;
  const int to = written.x + written.width;
  for_each_band(runs, written, [&](band_runs& band, bool) {
    if (images & text_only) cut(band.text, from, to);
    if (images & screen_only) cut(band.screen, from, to);
  });
}

void copied_text_to_screen(row_runs& runs, const pixel_rect& area) {
  const int from = area.x;
  const int to = area.x + area.width;
  for_each_band(runs, area, [&](band_runs& band, bool covered) {
    if (!covered) return;
    pixel_run copied{std::max(band.text.from, from), std::min(band.text.to, to), band.text.value};
    if (copied.empty()) return;
    pixel_run& screen = band.screen;
    if (!screen.empty() && screen.value == copied.value && screen.from <= copied.to && screen.to >= copied.from) {
      screen.from = std::min(screen.from, copied.from);
      screen.to = std::max(screen.to, copied.to);
    } else if (screen.empty() || copied.to >= screen.to) {
      screen = copied;  // the one reaching further right serves a row end better
    }
  });
}

band_runs known_runs(const row_runs& runs, int row, int pitch, int height, bool gap) {
  const std::vector<band_runs>& bands = gap ? runs.gaps : runs.rows;
  if (runs.pitch != pitch || runs.height != height || row < 0 || static_cast<std::size_t>(row) >= bands.size())
    return {};
  return bands[static_cast<std::size_t>(row)];
}

void remember_runs(row_runs& runs, int row, int pitch, int height, const band_runs& known, bool gap) {
  if (row < 0 || pitch <= 0 || height <= 0) return;
  if (runs.pitch != pitch || runs.height != height) {
    forget_all(runs);
    runs.pitch = pitch;
    runs.height = height;
  }
  std::vector<band_runs>& bands = gap ? runs.gaps : runs.rows;
  if (static_cast<std::size_t>(row) >= bands.size()) bands.resize(static_cast<std::size_t>(row) + 1);
  bands[static_cast<std::size_t>(row)] = known;
}

}  // namespace vintorel
