// Tests of reading vintorel.ini into the settings record: limits, colours,
// the font-check seam, the screen fit and the binary extension list.
#include "settings/main_settings.h"

#include <gtest/gtest.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

struct hook_guard {
  ~hook_guard() { check_fonts_hook = nullptr; }
};

TEST(main_settings, value_limits) {
  struct row {
    const char* text;
    int columns, lines, between, tab, del, block, console;
  } rows[] = {
      {"columns=81\nlines=20\nbetween pixel=-5\ntab size=0\nbuffer delete=3\nbuffer block=2\n"
       "buffer console=0\n",
       80, 19, 0, 1, 4, 4, 1},
      {"columns=79\nlines=4\nbetween pixel=0\ntab size=-3\nbuffer delete=4\nbuffer block=4\n"
       "buffer console=1\n",
       80, 7, 0, 1, 4, 4, 1},
      {"columns=121\nlines=30\nbetween pixel=12\ntab size=4\nbuffer delete=5000\n"
       "buffer block=1000\nbuffer console=9\n",
       120, 29, 12, 4, 5000, 1000, 9},
      {"columns=-2147483648\nlines=-2147483648\n", 80, 7, 3, 8, 1024, 256, 256},
      {"columns=2147483647\nlines=2147483647\n", 2147483646, 2147483647, 3, 8, 1024, 256, 256},
      {"lines=8\n", 80, 7, 3, 8, 1024, 256, 256},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.text);
    scratch_dir d;
    std::string p = d.write("vintorel.ini", std::string("[value]\n") + r.text);
    settings_record s;
    ASSERT_TRUE(load_display_settings(s, p));
    EXPECT_EQ(s.columns, r.columns);
    EXPECT_EQ(s.lines, r.lines);
    EXPECT_EQ(s.between_pixel, r.between);
    EXPECT_EQ(s.tab_size, r.tab);
    EXPECT_EQ(s.buffer_delete, r.del);
    EXPECT_EQ(s.buffer_block, r.block);
    EXPECT_EQ(s.buffer_console, r.console);
  }
}

TEST(main_settings, switches_strings_and_paths_from_a_hand_written_file) {
  scratch_dir d;
  std::string p = d.write(
      "vintorel.ini",
      "; written by hand\r\n[switch]\r\nview tab = on\r\nview linefeed = Off\r\nview EOF = yes\r\n"
      "view MB space=+ always\r\nbackup=ON\r\nignore case=-\r\nword search=OFF\r\n"
      "safety DirectDraw=off\r\n\r\n[string]\r\nfiler class = CabinetWClass,ExploreWClass\r\n"
      "filer path=C:\\tools\\filer.exe\r\n"
      "function=\x83\x77\x83\x8B\x83\x76 \x95\x5C\x8E\xA6\r\n"  // Shift_JIS text
      "function shift=" + std::string(100, 'f') + "\r\n"
      "binary extension=.o.a\r\n"
      "font file=fonts\\small.fnt\r\n"
      "font file MB = fonts/\x83\x5C.fnt");  // no last line end; 0x5C is a second byte
  settings_record s;
  ASSERT_TRUE(load_display_settings(s, p));
  load_runtime_settings(s, p);
  EXPECT_FALSE(s.safety_directdraw);
  EXPECT_TRUE(s.view_tab);
  EXPECT_FALSE(s.view_linefeed);
  EXPECT_FALSE(s.view_eof);
  EXPECT_TRUE(s.view_mb_space);
  EXPECT_TRUE(s.backup);
  EXPECT_FALSE(s.ignore_case);
  EXPECT_FALSE(s.word_search);
  EXPECT_EQ(s.filer_class, "CabinetWClass,ExploreWClass");
  EXPECT_EQ(s.filer_path, "C:/tools/filer.exe");
  EXPECT_EQ(s.function, "\x83\x77\x83\x8B\x83\x76 \x95\x5C\x8E\xA6");
  EXPECT_EQ(s.function_shift, std::string(60, 'f'));
  EXPECT_EQ(s.binary_extension, ".o.a");
  EXPECT_EQ(s.font_file, "fonts/small.fnt");
  EXPECT_EQ(s.font_file_mb, "fonts/\x83\x5C.fnt");
}

TEST(main_settings, colours) {
  EXPECT_EQ(parse_colour("255").red, 255);
  EXPECT_EQ(parse_colour("255").green, 0);
  settings_colour c = parse_colour("1:2:3:4");
  EXPECT_EQ(c.red, 1);
  EXPECT_EQ(c.green, 2);
  EXPECT_EQ(c.blue, 3);
  c = parse_colour("x:-7:300");
  EXPECT_EQ(c.red, 0);
  EXPECT_EQ(c.green, -7);
  EXPECT_EQ(c.blue, 300);  // no range check
  EXPECT_EQ(parse_colour("::9").blue, 9);

  scratch_dir d;
  std::string p = d.write("vintorel.ini",
                          "[color]\ntext normal=255\nback select=10:20:30:40\n"
                          "bar console=1:2:3456789012\n");
  settings_record s;
  ASSERT_TRUE(load_display_settings(s, p));
  EXPECT_EQ(s.colours[text_normal].red, 255);
  EXPECT_EQ(s.colours[text_normal].green, 0);
  EXPECT_EQ(s.colours[back_select].blue, 30);
  EXPECT_EQ(s.colours[bar_console].blue, 3456789);  // 11 characters are read
  EXPECT_EQ(s.colours[back_cursor].red, 96);        // untouched default
}

TEST(main_settings, font_check_runs_between_switch_and_colours) {
  hook_guard guard;
  scratch_dir d;
  std::string p = d.write("vintorel.ini",
                          "[value]\ncolumns=200\n[switch]\nsafety DirectDraw=-\n"
                          "[string]\nfont file=a.fnt\n[color]\ntext normal=1:1:1\n");
  static bool seen_switch;
  static std::string seen_font;
  static int seen_colour;
  check_fonts_hook = [](settings_record& s) {
    seen_switch = s.safety_directdraw;
    seen_font = s.font_file;
    seen_colour = s.colours[text_normal].red;
    s.font_width = 8;
    s.font_height = 16;
    fit_to_screen(s, 1024, 768);
    return true;
  };
  settings_record s;
  ASSERT_TRUE(load_display_settings(s, p));
  EXPECT_FALSE(seen_switch);
  EXPECT_EQ(seen_font, "a.fnt");
  EXPECT_EQ(seen_colour, 255);  // colours come after the fonts
  EXPECT_EQ(s.colours[text_normal].red, 1);
  EXPECT_EQ(s.columns, 128);
  EXPECT_EQ(s.lines, 21);

  check_fonts_hook = [](settings_record&) { return false; };
  settings_record t;
  EXPECT_FALSE(load_display_settings(t, p));
  EXPECT_EQ(t.colours[text_normal].red, 255);  // not read after a failed check
}

TEST(main_settings, fit_to_screen_keeps_columns_even_and_lines_odd) {
  settings_record s;
  s.font_width = 7;
  s.font_height = 16;
  s.columns = 200;
  s.lines = 101;
  fit_to_screen(s, 1000, 600);  // 1000/7 = 142, 600/16 = 37
  EXPECT_EQ(s.columns, 142);
  EXPECT_EQ(s.lines, 37);
  s.columns = 200;
  s.lines = 101;
  fit_to_screen(s, 1001, 608);  // 143 is odd -> 142; 38 is even -> 37
  EXPECT_EQ(s.columns, 142);
  EXPECT_EQ(s.lines, 37);
  s.lines = 21;
  fit_to_screen(s, 300, 80);  // 80/16 = 5 -> at least 7; columns not raised to 80
  EXPECT_EQ(s.lines, 7);
  EXPECT_EQ(s.columns, 42);
  settings_record fits;
  fits.font_width = 8;
  fits.font_height = 16;
  fit_to_screen(fits, 1920, 1080);
  EXPECT_EQ(fits.columns, 80);
  EXPECT_EQ(fits.lines, 21);
}

TEST(main_settings, binary_extensions) {
  const char* d = default_binary_extension;
  const struct {
    const char *name, *list;
    bool binary;
  } rows[] = {{"image.JPG", d, true},         {"/x/a.zip", d, true},        {"a.jpeg", d, true},
              {"a.jp", d, false},             {"a.jpe", d, false},          {"a.txt", d, false},
              {"Makefile", d, false},         {"dir.zip/readme", d, false}, {"dir.zip\\readme", d, false},
              {"a.", d, false},               {"a.O", ".o.a", true},        {"a.o", "", false}};
  for (const auto& r : rows) EXPECT_EQ(is_binary_extension(r.name, r.list), r.binary) << r.name;
}

TEST(main_settings, settings_path_comparison) {
  EXPECT_TRUE(is_main_settings_path("/opt/v/./vintorel.ini", "/opt/v/vintorel.ini"));
  EXPECT_TRUE(is_main_settings_path("/opt/x/../v/vintorel.ini", "/opt/v/vintorel.ini"));
  EXPECT_FALSE(is_main_settings_path("/opt/v/VINTOREL.INI", "/opt/v/vintorel.ini"));
  EXPECT_FALSE(is_main_settings_path("/opt/v/ext.ini", "/opt/v/vintorel.ini"));
}

}  // namespace
}  // namespace vintorel
