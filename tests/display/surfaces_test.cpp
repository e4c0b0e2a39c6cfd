// The surface creation sequence with its failure messages, and the rebuild
// after a lost surface.
#include <gtest/gtest.h>

#include "display/screen_setup.h"
#include "display/surface_ops.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::display_fixture;

TEST(CreateSurfaces, FailuresAreReportedAndReleaseEverything) {
  const std::vector<std::pair<std::function<void(memory_backend&)>, int>> cases = {
      {[](memory_backend& b) { b.depth = 8; }, string_too_few_colours},
      {[](memory_backend& b) { b.fail_open = true; }, string_no_direct_draw},
      {[](memory_backend& b) { b.caps &= ~caps_colour_key; }, string_missing_capabilities},
      {[](memory_backend& b) { b.fail_create_after = 20; }, string_drawing_error},  // a sheet
  };
  for (const auto& [change, message] : cases) {
    display_fixture f(false);
    change(f.backend);
    EXPECT_FALSE(create_surfaces(f.display)) << message;
    EXPECT_EQ(f.errors, std::vector<int>{message});
    release_surfaces(f.display);
    EXPECT_EQ(f.backend.live_surfaces(), 0u);
    EXPECT_FALSE(f.backend.device_open());
  }
}

TEST(Rebuild, ALostSurfaceIsRebuiltAndAFailedRebuildGivesUpQuietly) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const colour red{255, 0, 0};
  f.backend.lose_surfaces();
  fill_cells(f.display, 0, 0, 1, 1, red);
  EXPECT_EQ(f.display.rebuilds, 1);
  EXPECT_EQ(f.screen().pixel_at(4, 4), f.value(red));

  f.backend.lose_surfaces();
  f.backend.fail_create_after = 0;
  fill_cells(f.display, 0, 0, 1, 1, red);
  EXPECT_EQ(f.errors, std::vector<int>{string_drawing_error});
  // Everything after that is skipped without touching missing surfaces.
  draw_glyph(f.display, 1, 1, 'A', red, red);
  draw_cursor(f.display, 1, 0, 19, 80, 1, 1);
}

TEST(Rebuild, ADisplayThatKeepsLosingItsSurfacesDoesNotHoldTheProgram) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  bool losing = true;
  f.backend.before_each_operation = [&](memory_backend& b) {
    if (losing && !f.display.rebuilding) b.lose_surfaces();
  };
  const colour c{1, 2, 3};
  fill_cells(f.display, 0, 0, 1, 1, c);
  EXPECT_EQ(f.display.rebuilds, 3 * f.display.rebuild_limit);  // three fills, each given up
  losing = false;
  fill_cells(f.display, 0, 0, 1, 1, c);
  EXPECT_EQ(f.screen().pixel_at(0, 0), f.value(c));
}

}  // namespace
}  // namespace vintorel
