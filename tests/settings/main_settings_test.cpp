// Tests of reading vintorel.ini into the settings record: the limits of the values.
#include "settings/main_settings.h"

#include <gtest/gtest.h>

#include <tuple>

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
      {"columns=2147483647\nlines=-2147483648\n", 960, 7, 3, 8, 1024, 256},
      // Absurd values are held to what a desktop can hold, not allocated.
      {"lines=2147483647\nbetween pixel=99999\ntab size=1000\nbuffer delete=2147483647\nbuffer console=2147483647\n",
       80, 271, 16, 99, 1 << 20, 1000000},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    scratch_dir d;
    settings_record s;
    ASSERT_TRUE(load_display_settings(s, d.write("vintorel.ini", std::string("[value]\n") + r.text)));
    EXPECT_EQ(std::tuple(s.columns, s.lines, s.between_pixel, s.tab_size, s.buffer_delete, s.buffer_console),
              std::tuple(r.columns, r.lines, r.between, r.tab, r.del, r.console));
  }
}

}  // namespace
}  // namespace vintorel
