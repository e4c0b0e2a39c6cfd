// Memory surfaces, pixel values, the creation sequence with its messages, and
// the rebuild after a lost surface.
#include <gtest/gtest.h>

#include "display/screen_setup.h"
#include "display/surface_ops.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::display_fixture;
using test::rgb;

TEST(PixelValue, FiveSixFiveTakesTheTopBitsOfEachComponent) {
  pixel_format f = rgb565_format();
  EXPECT_EQ(pixel_value(f, rgb(255, 0, 0)), 0xF800u);
  EXPECT_EQ(pixel_value(f, rgb(255, 255, 255)), 0xFFFFu);
  EXPECT_EQ(pixel_value(f, rgb(0, 255, 0)), 0x07E0u);
  EXPECT_EQ(pixel_value(f, rgb(0, 0, 255)), 0x001Fu);
  EXPECT_EQ(pixel_value(f, rgb(0x84, 0x86, 0x88)), (0x10u << 11) | (0x21u << 5) | 0x11u);
  EXPECT_EQ(pixel_value(f, rgb(7, 3, 7)), 0u);  // below the kept bits
}

TEST(PixelValue, ThirtyTwoBitAndUnreadableFormats) {
  EXPECT_EQ(pixel_value(rgb32_format(), rgb(0x12, 0x34, 0x56)), 0x123456u);
  // Components outside 0..255 keep their low byte, as a 32-bit shift would.
  EXPECT_EQ(pixel_value(rgb32_format(), rgb(0x112, 0, 0)), 0x120000u);
  pixel_format broken{0, 0, 0, 0};
  EXPECT_EQ(pixel_value(broken, rgb(1, 2, 3)), no_pixel_value);
}

TEST(Surface, FillCopyAndKeyedCopyClipToBothSurfaces) {
  memory_backend backend(rgb565_format());
  ASSERT_TRUE(backend.open_device(false));
  surface* a = backend.create_surface(8, 4, false);
  surface* b = backend.create_surface(4, 4, false);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->stride(), 16u);
  EXPECT_EQ(a->bytes_per_pixel(), 2);
  EXPECT_EQ(backend.fill(*a, {-2, -2, 100, 100}, rgb(255, 0, 0)), draw_result::ok);
  EXPECT_EQ(a->pixel_at(7, 3), 0xF800u);
  // b: left half white, right half black; keyed copy with key white.
  backend.fill(*b, {0, 0, 2, 4}, rgb(255, 255, 255));
  backend.fill(*b, {2, 0, 2, 4}, rgb(0, 0, 0));
  backend.set_colour_key(*b, rgb(255, 255, 255));
  EXPECT_EQ(backend.copy(*a, 6, 2, *b, {0, 0, 4, 4}, true), draw_result::ok);
  EXPECT_EQ(a->pixel_at(6, 2), 0xF800u);  // keyed out
  EXPECT_EQ(a->pixel_at(7, 2), 0xF800u);
  EXPECT_EQ(a->pixel_at(5, 2), 0xF800u);  // untouched
  EXPECT_EQ(backend.copy(*a, 0, 0, *b, {0, 0, 4, 4}, false), draw_result::ok);
  EXPECT_EQ(a->pixel_at(0, 0), 0xFFFFu);
  EXPECT_EQ(a->pixel_at(3, 3), 0x0000u);
  // A copy starting far outside changes nothing and is not an error.
  EXPECT_EQ(backend.copy(*a, 100, 100, *b, {0, 0, 4, 4}, false), draw_result::ok);
}

TEST(Surface, OverlappingCopyWithinOneSurfaceShiftsRowsIntact) {
  memory_backend backend;
  backend.open_device(false);
  surface* s = backend.create_surface(2, 6, false);
  for (int y = 0; y < 6; ++y) s->set_pixel(0, y, static_cast<std::uint32_t>(y + 1));
  backend.copy(*s, 0, 1, *s, {0, 0, 2, 5}, false);  // down by one
  for (int y = 1; y < 6; ++y) EXPECT_EQ(s->pixel_at(0, y), static_cast<std::uint32_t>(y));
  backend.copy(*s, 0, 0, *s, {0, 1, 2, 5}, false);  // and back up
  for (int y = 0; y < 5; ++y) EXPECT_EQ(s->pixel_at(0, y), static_cast<std::uint32_t>(y + 1));
}

TEST(CreateSurfaces, ClientAreaOf645By331GivesImagesOf1024By512) {
  display_fixture f(rgb32_format(), false);
  f.display.client_width = 645;
  f.display.client_height = 331;
  ASSERT_TRUE(create_surfaces(f.display));
  EXPECT_EQ(f.screen().width(), 1024);
  EXPECT_EQ(f.screen().height(), 512);
  EXPECT_EQ(f.text().width(), 1024);
  EXPECT_EQ(f.display.surfaces.cell_scratch->height(), 512);
  // Text image and scratch are keyed with "back normal".
  EXPECT_TRUE(f.text().has_colour_key());
  EXPECT_EQ(f.text().colour_key(), f.value(f.display.colours[back_normal]));
}

TEST(CreateSurfaces, EightBySixteenFontGivesSheetsOf128By256And512By256) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  EXPECT_EQ(f.display.surfaces.half_width_sheet->width(), 128);
  EXPECT_EQ(f.display.surfaces.half_width_sheet->height(), 256);
  for (surface* s : f.display.surfaces.full_width_sheets) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width(), 512);
    EXPECT_EQ(s->height(), 256);
  }
  // The default grid: 80 × 8 by 21 × 16 + 20 × 3.
  EXPECT_EQ(f.screen().width(), 1024);
  EXPECT_EQ(f.screen().height(), 512);
  EXPECT_TRUE(f.backend.emulation_only());  // "safety DirectDraw" is on by default
  EXPECT_TRUE(f.errors.empty());
}

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
