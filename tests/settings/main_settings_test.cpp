// Tests of reading vintorel.ini into the settings record: the limits of the
// values and the fit to the screen.
#include "settings/main_settings.h"

#include <gtest/gtest.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

TEST(main_settings, value_limits) {
  struct row {
    const char* text;
    int columns, lines, between, tab, del, console;
  } rows[] = {
      {"columns=81\nlines=20\nbetween pixel=-5\ntab size=0\nbuffer delete=3\nbuffer console=0\n", 80, 19, 0, 1, 4, 1},
      {"columns=121\nlines=4\nbetween pixel=12\ntab size=4\nbuffer delete=5000\nbuffer console=9\n",
       120, 7, 12, 4, 5000, 9},
      {"columns=2147483647\nlines=-2147483648\n", 2147483646, 7, 3, 8, 1024, 256},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    scratch_dir d;
    settings_record s;
    ASSERT_TRUE(load_display_settings(s, d.write("vintorel.ini", std::string("[value]\n") + r.text)));
    EXPECT_EQ(s.columns, r.columns);
    EXPECT_EQ(s.lines, r.lines);
    EXPECT_EQ(s.between_pixel, r.between);
    EXPECT_EQ(s.tab_size, r.tab);
    EXPECT_EQ(s.buffer_delete, r.del);
    EXPECT_EQ(s.buffer_console, r.console);
  }
}

TEST(main_settings, fit_to_screen_keeps_columns_even_and_lines_odd) {
  settings_record s;
  s.font_width = 7;
  s.font_height = 16;
  s.columns = 200;
  s.lines = 101;
  fit_to_screen(s, 1001, 608);  // 143 columns is odd -> 142; 38 lines is even -> 37
  EXPECT_EQ(s.columns, 142);
  EXPECT_EQ(s.lines, 37);
  fit_to_screen(s, 300, 80);  // 80/16 = 5 -> at least 7; columns not raised to 80
  EXPECT_EQ(s.lines, 7);
  EXPECT_EQ(s.columns, 42);
}

}  // namespace
}  // namespace vintorel
