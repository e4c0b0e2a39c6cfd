// Tests of the start-up files (layout.ini, program.ini, vintorel.ini) and of
// the command line read at start.
#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/key_bindings.h"
#include "app/layout_file.h"
#include "scratch_dir.h"
#include "settings/main_settings.h"
#include "settings/settings_file.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

TEST(layout_file, created_once_read_back_and_failures_reported) {
  scratch_dir s;
  std::string path = s.path("layout.ini");
  ASSERT_TRUE(ensure_layout_file(path));
  EXPECT_EQ(s.read("layout.ini"), "[value]\nposition x=0\nposition y=0\n");
  EXPECT_EQ(read_window_position(path).x, 0);
  EXPECT_EQ(read_window_position(path).y, 0);
  ASSERT_TRUE(write_window_position(path, {-40, 1200}));
  window_position p = read_window_position(path);
  EXPECT_EQ(p.x, -40);
  EXPECT_EQ(p.y, 1200);
  ASSERT_TRUE(ensure_layout_file(path)) << "an existing file is kept";
  EXPECT_EQ(read_window_position(path).x, -40);

  s.write("layout.ini", "[value]\r\nposition y=  17 \r\n");  // missing keys read as zero
  p = read_window_position(path);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 17);
  s.write("plain", "x");
  EXPECT_FALSE(ensure_layout_file(s.path("plain/layout.ini")));
  EXPECT_FALSE(ensure_start_files(s.path("plain/")));
}

TEST(start_files, the_default_main_settings_read_as_the_built_in_defaults) {
  scratch_dir s;
  ASSERT_TRUE(ensure_start_files(s.dir()));
  std::string ini = s.path("vintorel.ini");
  settings_record from_file, built_in;
  from_file.columns = built_in.columns = 0;  // overwritten by the reader
  check_fonts_function saved = check_fonts_hook;
  check_fonts_hook = nullptr;
  ASSERT_TRUE(load_display_settings(from_file, ini));
  check_fonts_hook = saved;
  load_runtime_settings(from_file, ini);
  built_in = settings_record();
  EXPECT_EQ(from_file.columns, built_in.columns);
  EXPECT_EQ(from_file.lines, built_in.lines);
  EXPECT_EQ(from_file.buffer_console, built_in.buffer_console);
  EXPECT_EQ(from_file.safety_directdraw, built_in.safety_directdraw);
  EXPECT_EQ(from_file.view_linefeed, built_in.view_linefeed);
  EXPECT_EQ(from_file.word_search, built_in.word_search);
  EXPECT_EQ(from_file.binary_extension, built_in.binary_extension);
  EXPECT_EQ(from_file.font_file_mb, built_in.font_file_mb);
  for (int i = 0; i < colour_count; ++i) {
    EXPECT_EQ(from_file.colours[i].red, built_in.colours[i].red) << i;
    EXPECT_EQ(from_file.colours[i].blue, built_in.colours[i].blue) << i;
  }
  key_binding_table_type from_ini{}, defaults{};
  load_key_bindings(from_ini, ini);
  load_key_bindings(defaults, s.path("none.ini"));
  EXPECT_EQ(from_ini, defaults);

  // The user's own files are never replaced.
  s.write("vintorel.ini", "[value]\ncolumns=120\n");
  s.write("program.ini", "[mine]\nprogram=ls\n");
  ASSERT_TRUE(ensure_start_files(s.dir()));
  EXPECT_EQ(s.read("vintorel.ini"), "[value]\ncolumns=120\n");
  EXPECT_EQ(s.read("program.ini"), "[mine]\nprogram=ls\n");
}

TEST(start_request, ctrl_at_start_opens_read_only) {
  start_request empty = read_start_request("  \t ", true, "/w/");
  EXPECT_TRUE(empty.empty);
  EXPECT_TRUE(empty.read_only);
  start_request ctrl = read_start_request("/nowhere/missing.txt", true, "/w/");
  EXPECT_FALSE(ctrl.empty);
  EXPECT_TRUE(ctrl.read_only);
  EXPECT_TRUE(ctrl.items.files.empty()) << "an unquoted path that does not exist is dropped";
}

}  // namespace
}  // namespace vintorel
