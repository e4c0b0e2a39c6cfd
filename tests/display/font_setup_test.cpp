// The font check as the settings loader runs it, and the settings as the
// display takes them over.
#include <gtest/gtest.h>

#include <fstream>

#include "display/font_setup.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

struct hook_reset {
  ~hook_reset() { check_fonts_hook = nullptr; }
};

TEST(FontSetup, LoadingTheDisplaySettingsChecksTheFonts) {
  hook_reset reset;
  test::scratch_dir dir;
  dir.write("h.fnt", test::half_font());
  dir.write("z.fnt", test::full_font({{0x8140, 0x8140}}));
  std::ofstream(dir.path + "vintorel.ini") << "[value]\ncolumns=120\nlines=41\n[string]\nfont file=h.fnt\n"
                                              "font file MB=z.fnt\n[color]\nback select=1:2:3\n";
  std::vector<int> errors;
  font_environment environment;
  environment.directory = dir.path;
  environment.screen_width = 800;  // 100 columns of 8
  environment.screen_height = 400; // 25 lines of 16
  environment.show_error = [&errors](int id) { errors.push_back(id); };
  install_font_check(environment);

  settings_record s;
  ASSERT_TRUE(load_display_settings(s, dir.path + "vintorel.ini"));
  EXPECT_EQ(s.font_width, 8);
  EXPECT_EQ(s.font_height, 16);
  EXPECT_EQ(s.columns, 100);
  EXPECT_EQ(s.lines, 25);
  EXPECT_TRUE(errors.empty());

  display_context d;
  apply_settings(d, s);
  EXPECT_EQ(d.metrics.width, 8);
  EXPECT_EQ(d.columns, 100);
  EXPECT_EQ(d.colours[back_select], (colour{1, 2, 3}));
  EXPECT_EQ(d.half_width_font, "h.fnt");

  // A double-byte font of the wrong size stops the load before the colours.
  dir.write("z.fnt", test::full_font({{0x8140, 0x8140}}, 14, 16));
  settings_record bad;
  EXPECT_FALSE(load_display_settings(bad, dir.path + "vintorel.ini"));
  EXPECT_EQ(errors, std::vector<int>{36});
  EXPECT_EQ(bad.colours[back_select].blue, 128);
}

}  // namespace
}  // namespace vintorel
