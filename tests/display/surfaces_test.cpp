// The surface creation sequence with its failure messages, sheet loading
// failures, and the rebuild after a lost surface.
#include <gtest/gtest.h>

#include "display/screen_setup.h"
#include "display/surface_ops.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::display_fixture;
using test::rgb;

TEST(CreateSurfaces, DisplayDepthAndCapabilitiesAreChecked) {
  struct setup {
    int depth;
    std::function<void(memory_backend&)> change;
    int message;  // 0: success
  };
  const std::vector<setup> cases = {
      {8, nullptr, string_too_few_colours},
      {16, nullptr, 0},
      {24, nullptr, 0},
      {32, nullptr, 0},
      {32, [](memory_backend& b) { b.fail_open = true; }, string_no_direct_draw},
      {32, [](memory_backend& b) { b.fail_caps = true; }, string_drawing_error},
      {32, [](memory_backend& b) { b.caps &= ~caps_blt_colour_fill; }, string_missing_capabilities},
      {32, [](memory_backend& b) { b.caps &= ~caps_colour_key; }, string_missing_capabilities},
      {32, [](memory_backend& b) { b.caps &= ~caps_blt; }, string_missing_capabilities},
      {32, [](memory_backend& b) { b.colour_key_caps = 0; }, string_missing_capabilities},
      {32, [](memory_backend& b) { b.fail_target = true; }, string_drawing_error},
      {32, [](memory_backend& b) { b.fail_create_after = 1; }, string_drawing_error},
      {32, [](memory_backend& b) { b.fail_create_after = 20; }, string_drawing_error},  // a sheet
  };
  for (const setup& c : cases) {
    display_fixture f(rgb32_format(), false);
    f.backend.depth = c.depth;
    if (c.change) c.change(f.backend);
    bool ok = create_surfaces(f.display);
    EXPECT_EQ(ok, c.message == 0) << "depth " << c.depth << " message " << c.message;
    if (c.message) {
      EXPECT_EQ(f.errors, std::vector<int>{c.message});
    } else {
      EXPECT_TRUE(f.errors.empty());
    }
    release_surfaces(f.display);
    EXPECT_EQ(f.backend.live_surfaces(), 0u);
    EXPECT_FALSE(f.backend.device_open());
    EXPECT_FALSE(f.backend.target_open());
  }
}

TEST(LoadSheets, LockFailuresAndBadFontsAreReported) {
  {
    display_fixture f(rgb32_format(), false);
    ASSERT_TRUE(create_surfaces(f.display));
    f.backend.fail_lock_after = 5;  // the half-width sheet and four full-width sheets
    EXPECT_FALSE(load_sheets(f.display));
    EXPECT_EQ(f.errors, std::vector<int>{string_drawing_error});
    for (surface* s : f.display.surfaces.full_width_sheets) EXPECT_FALSE(s->is_locked());
    EXPECT_FALSE(f.display.surfaces.half_width_sheet->is_locked());
  }
  {
    display_fixture f(rgb32_format(), false);
    ASSERT_TRUE(create_surfaces(f.display));
    std::vector<std::uint8_t> cut = test::half_font();
    cut.resize(cut.size() - 1);
    f.display.half_width_font = f.dir.write("cut.fnt", cut);
    EXPECT_FALSE(load_sheets(f.display));
    EXPECT_EQ(f.errors, std::vector<int>{string_font_problem});
  }
}

TEST(Rebuild, ALostSurfaceIsRebuiltAndTheOperationRepeated) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const colour red = rgb(255, 0, 0);
  f.backend.lose_surfaces();
  fill_cells(f.display, 2, 3, 1, 1, red);
  EXPECT_EQ(f.display.rebuilds, 1);
  EXPECT_EQ(f.cell_pixel(2, 3, 4, 4), f.value(red));
  // The sheets were loaded again: a glyph still draws.
  draw_glyph(f.display, 4, 0, 'A', f.display.colours[text_normal], f.display.colours[back_normal]);
  EXPECT_EQ(f.half_code_at(4, 0, f.display.colours[text_normal]), unsigned('A'));
}

TEST(Rebuild, WaitsForADeepEnoughDisplayAskingEachTime) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  f.backend.depth = 8;
  int asked = 0;
  f.display.show_error = [&](int id) {
    f.errors.push_back(id);
    if (++asked == 3) f.backend.depth = 16;
  };
  EXPECT_TRUE(rebuild_surfaces(f.display));
  EXPECT_EQ(f.errors, (std::vector<int>{string_depth_changed, string_depth_changed, string_depth_changed}));
}

TEST(Rebuild, AFailedRebuildGivesTheOperationUpQuietly) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  f.backend.lose_surfaces();
  f.backend.fail_create_after = 0;
  fill_cells(f.display, 0, 0, 1, 1, rgb(1, 2, 3));
  EXPECT_EQ(f.errors, std::vector<int>{string_drawing_error});
  // Everything after that is skipped without touching missing surfaces.
  draw_glyph(f.display, 1, 1, 'A', rgb(1, 1, 1), rgb(2, 2, 2));
  draw_cursor(f.display, 1, 0, 19, 80, 1, 1);
}

TEST(Rebuild, ADisplayThatKeepsLosingItsSurfacesDoesNotHoldTheProgram) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  bool losing = true;
  f.backend.before_each_operation = [&](memory_backend& b) {
    if (losing && !f.display.rebuilding) b.lose_surfaces();
  };
  fill_cells(f.display, 0, 0, 1, 1, rgb(1, 2, 3));
  EXPECT_EQ(f.display.rebuilds, 3 * f.display.rebuild_limit);  // three fills, each given up
  losing = false;
  fill_cells(f.display, 0, 0, 1, 1, rgb(1, 2, 3));
  EXPECT_EQ(f.cell_pixel(0, 0, 0, 0), f.value(rgb(1, 2, 3)));
}

}  // namespace
}  // namespace vintorel
