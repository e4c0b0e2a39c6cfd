// What the painter knows of a row's end: which writes cut a known run, in
// which image, what a copy of the text image to the screen image restores,
// and when a run no longer applies.
#include <gtest/gtest.h>

#include "display/row_runs.h"

namespace vintorel {
namespace {

// Rows 19 pixels apart and 16 high (3 between); row 2 knows [100, 300) in
// both images.
row_runs one_run() {
  row_runs runs;
  const pixel_run run{100, 300, 7};
  remember_runs(runs, 2, 19, 16, band_runs{run, run});
  return runs;
}

pixel_run after(const pixel_rect& written) {
  row_runs runs = one_run();
  forget_written(runs, written);
  const band_runs known = known_runs(runs, 2, 19, 16);
  EXPECT_EQ(known.text.from, known.screen.from);
  EXPECT_EQ(known.text.to, known.screen.to);
  return known.text;
}

TEST(RowRuns, AWriteKeepsOnlyThePartOfTheRunRightOfIt) {
  EXPECT_EQ(after({0, 38, 100, 16}).from, 100) << "ends where the run starts";
  EXPECT_EQ(after({300, 38, 50, 16}).to, 300) << "starts where the run ends";
  EXPECT_EQ(after({0, 38, 101, 16}).from, 101) << "covers the run's first pixel";
  EXPECT_EQ(after({150, 40, 10, 1}).from, 160) << "one pixel line in the middle";
  EXPECT_EQ(after({150, 40, 10, 1}).to, 300);
  EXPECT_TRUE(after({50, 0, 400, 100}).empty()) << "covers it all";
  EXPECT_TRUE(after({299, 53, 5, 1}).empty()) << "the last pixel of the row's last line";
}

TEST(RowRuns, WritesOutsideTheRowsPixelLinesLeaveItAlone) {
  EXPECT_EQ(after({0, 54, 400, 3}).from, 100) << "the gap below the row";
  EXPECT_EQ(after({0, 35, 400, 3}).from, 100) << "the gap above it";
  EXPECT_EQ(after({0, 57, 400, 500}).from, 100) << "the rows below";
  EXPECT_EQ(after({0, -50, 400, 88}).from, 100) << "from above the image to the row's top";
  EXPECT_EQ(after({120, 38, 0, 16}).from, 100) << "an empty write";
}

TEST(RowRuns, EachImageIsCutByItsOwnWritesAndTheScreenRegainsWhatIsCopiedOver) {
  row_runs runs = one_run();
  // The cursor highlight: its line over the row, its column through the gap.
  forget_written(runs, {0, 38, 400, 16}, screen_only);
  forget_written(runs, {200, 0, 8, 400}, screen_only);
  band_runs known = known_runs(runs, 2, 19, 16);
  EXPECT_EQ(known.text.from, 100);
  EXPECT_TRUE(known.screen.empty());
  // Taken away again: a copy of the text image that covers only part of the
  // row's lines restores nothing, one over all of them what it covers.
  copied_text_to_screen(runs, {0, 40, 400, 14});
  EXPECT_TRUE(known_runs(runs, 2, 19, 16).screen.empty());
  copied_text_to_screen(runs, {200, 0, 8, 400});
  known = known_runs(runs, 2, 19, 16);
  EXPECT_EQ(known.screen.from, 200);
  EXPECT_EQ(known.screen.to, 208);
  copied_text_to_screen(runs, {0, 38, 250, 16});
  known = known_runs(runs, 2, 19, 16);
  EXPECT_EQ(known.screen.from, 100) << "joined with what the screen knew";
  EXPECT_EQ(known.screen.to, 250);
  forget_written(runs, {0, 38, 120, 16}, text_only);
  EXPECT_EQ(known_runs(runs, 2, 19, 16).text.from, 120);
  EXPECT_EQ(known_runs(runs, 2, 19, 16).screen.from, 100);
}

TEST(RowRuns, TheGapBelowARowIsKnownApart) {
  row_runs runs = one_run();
  const pixel_run wide{0, 400, 7};
  remember_runs(runs, 2, 19, 16, band_runs{wide, wide}, true);
  forget_written(runs, {10, 38, 20, 16});
  EXPECT_EQ(known_runs(runs, 2, 19, 16, true).text.from, 0) << "the row's own lines";
  forget_written(runs, {10, 54, 20, 1});
  EXPECT_EQ(known_runs(runs, 2, 19, 16, true).text.from, 30) << "the gap's first line";
  EXPECT_EQ(known_runs(runs, 2, 19, 16).text.from, 100);
  forget_written(runs, {50, 56, 20, 1});
  EXPECT_EQ(known_runs(runs, 2, 19, 16, true).screen.from, 70) << "the gap's last line";
  forget_written(runs, {100, 57, 20, 1});
  EXPECT_EQ(known_runs(runs, 2, 19, 16, true).text.from, 70) << "the next row's first line";
  forget_cells_written(runs, 2, 19, 16, 60, 120);
  EXPECT_EQ(known_runs(runs, 2, 19, 16, true).text.from, 70) << "a glyph cell";
  EXPECT_EQ(known_runs(runs, 2, 19, 16).text.from, 120);
  EXPECT_EQ(known_runs(runs, 2, 19, 16).screen.from, 120);
}

TEST(RowRuns, AnotherRowGeometryKnowsNothing) {
  row_runs runs = one_run();
  EXPECT_TRUE(known_runs(runs, 2, 17, 16).text.empty());
  EXPECT_TRUE(known_runs(runs, 2, 19, 15).text.empty());
  EXPECT_TRUE(known_runs(runs, 3, 19, 16).text.empty());
  EXPECT_TRUE(known_runs(runs, -1, 19, 16).text.empty());
  // Recording with another geometry forgets what was known with the old one.
  const pixel_run run{0, 8, 7};
  remember_runs(runs, 5, 17, 16, band_runs{run, run});
  EXPECT_TRUE(known_runs(runs, 2, 17, 16).text.empty());
  EXPECT_EQ(known_runs(runs, 5, 17, 16).text.to, 8);
  // A cell band written with the old geometry in mind cuts by the pixels.
  forget_cells_written(runs, 4, 19, 16, 0, 8);
  EXPECT_TRUE(known_runs(runs, 5, 17, 16).text.empty()) << "row 4 of 19 covers row 5 of 17's pixel lines";
  forget_all(runs);
  EXPECT_TRUE(runs.rows.empty());
}

}  // namespace
}  // namespace vintorel
