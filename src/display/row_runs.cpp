// Row runs: recorded by the line painter, cut back by every other write.
#include "display/row_runs.h"

#include <algorithm>

namespace vintorel {

void forget_all(row_runs& runs) { runs.rows.clear(); }

namespace {

// Pixel columns [from, to) of one whole text row were written.
void forget_written_in_row(row_runs& runs, int row, int from, int to) {
  if (row < 0 || static_cast<std::size_t>(row) >= runs.rows.size()) return;
  pixel_run& run = runs.rows[static_cast<std::size_t>(row)];
  if (run.empty() || to <= run.from || from >= run.to || from >= to) return;
  run.from = to;
}

}  // namespace

void forget_written(row_runs& runs, const pixel_rect& written) {
  if (written.empty() || runs.rows.empty() || runs.pitch <= 0) return;
  const int top = std::max(written.y, 0);
  const int bottom = written.y + written.height;  // one past the last pixel line
  if (bottom <= top) return;
  const int first = top / runs.pitch;
  const int last = std::min((bottom - 1) / runs.pitch, static_cast<int>(runs.rows.size()) - 1);
  for (int row = first; row <= last; ++row) {
    // Only the row's H pixel lines are covered by its run, not the gap below.
    const int y = row * runs.pitch;
    if (bottom <= y || top >= y + runs.height) continue;
    forget_written_in_row(runs, row, written.x, written.x + written.width);
  }
}

pixel_run known_run(const row_runs& runs, int row, int pitch, int height) {
  if (runs.pitch != pitch || runs.height != height || row < 0 || static_cast<std::size_t>(row) >= runs.rows.size())
    return {};
  return runs.rows[static_cast<std::size_t>(row)];
}

void remember_run(row_runs& runs, int row, int pitch, int height, const pixel_run& run) {
  if (row < 0 || pitch <= 0 || height <= 0) return;
  if (runs.pitch != pitch || runs.height != height) {
    runs.rows.clear();
    runs.pitch = pitch;
    runs.height = height;
  }
  if (static_cast<std::size_t>(row) >= runs.rows.size()) runs.rows.resize(static_cast<std::size_t>(row) + 1);
  runs.rows[static_cast<std::size_t>(row)] = run;
}

}  // namespace vintorel
