// What the painter knows of a row's end: which writes cut a known run, and
// when a run no longer applies.
#include <gtest/gtest.h>

#include "display/row_runs.h"

namespace vintorel {
namespace {

// Rows 19 pixels apart and 16 high (3 between); row 2 knows [100, 300).
row_runs one_run() {
  row_runs runs;
  remember_run(runs, 2, 19, 16, pixel_run{100, 300, 7});
  return runs;
}

pixel_run after(const pixel_rect& written) {
  row_runs runs = one_run();
  forget_written(runs, written);
  return known_run(runs, 2, 19, 16);
}

TEST(RowRuns, AWriteKeepsOnlyThePartOfTheRunRightOfIt) {
  EXPECT_EQ(after({0, 38, 100, 16}).from, 100) << "ends where the run starts";
  EXPECT_EQ(after({300, 38, 50, 16}).to, 300) << "starts where the run ends";
  EXPECT_EQ(after({0, 38, 101, 16}).from, 101) << "covers the run's first pixel";
  EXPECT_EQ(after({150, 40, 10, 1}).from, 160) << "one pixel line in the middle";
  EXPECT_EQ(after({150, 40, 10, 1}).to, 300);
  EXPECT_TRUE(after({50, 0, 400, 100}).empty()) << "covers it all";
  EXPECT_EQ(after({299, 53, 5, 1}).to, 300) << "the row's last pixel line";
  EXPECT_TRUE(after({299, 53, 5, 1}).empty());
}

TEST(RowRuns, WritesOutsideTheRowsPixelLinesLeaveItAlone) {
  EXPECT_EQ(after({0, 54, 400, 3}).from, 100) << "the gap below the row";
  EXPECT_EQ(after({0, 35, 400, 3}).from, 100) << "the gap above it";
  EXPECT_EQ(after({0, 57, 400, 500}).from, 100) << "the rows below";
  EXPECT_EQ(after({0, -50, 400, 88}).from, 100) << "from above the image to the row's top";
  EXPECT_EQ(after({120, 38, 0, 16}).from, 100) << "an empty write";
  row_runs runs = one_run();
  forget_written(runs, {0, 0, 400, 10000});
  EXPECT_TRUE(known_run(runs, 2, 19, 16).empty()) << "far past the rows recorded";
}

TEST(RowRuns, AnotherRowGeometryKnowsNothing) {
  row_runs runs = one_run();
  EXPECT_TRUE(known_run(runs, 2, 17, 16).empty());
  EXPECT_TRUE(known_run(runs, 2, 19, 15).empty());
  EXPECT_TRUE(known_run(runs, 3, 19, 16).empty());
  EXPECT_TRUE(known_run(runs, -1, 19, 16).empty());
  // Recording with another geometry forgets what was known with the old one.
  remember_run(runs, 5, 17, 16, pixel_run{0, 8, 7});
  EXPECT_TRUE(known_run(runs, 2, 17, 16).empty());
  EXPECT_EQ(known_run(runs, 5, 17, 16).to, 8);
  // A cell band written with the old geometry in mind cuts by the pixels.
  forget_cells_written(runs, 4, 19, 16, 0, 8);
  EXPECT_TRUE(known_run(runs, 5, 17, 16).empty()) << "row 4 of 19 covers row 5 of 17's pixel lines";
  forget_all(runs);
  EXPECT_TRUE(runs.rows.empty());
}

}  // namespace
}  // namespace vintorel
