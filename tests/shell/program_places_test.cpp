// Where the settings, fonts and manual are looked for: beside a writable,
// uninstalled executable, else in the user's XDG folders; and the first-start
// files made there.
#include "shell/program_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "scratch_dir.h"
#include "shell/startup.h"

namespace vintorel {
namespace {

using test_support::read_bytes;
using test_support::scratch_dir;

places_input input(const std::string& exe, bool writable) {
  places_input in;
  in.executable_directory = exe;
  in.home = "/home/u";
  in.writable = [writable](const std::string&) { return writable; };
  return in;
}

TEST(program_places, a_writable_folder_keeps_everything_beside_the_executable) {
  program_places p = choose_places(input("/work/build/", true));
  EXPECT_TRUE(p.beside_executable);
  EXPECT_EQ(p.settings_directory, "/work/build/");
  EXPECT_EQ(p.font_directory, "/work/build/");
  EXPECT_EQ(p.manual_path, "/work/build/vintorel.txt");
  EXPECT_EQ(p.executable_directory, "/work/build/");
}

TEST(program_places, a_read_only_folder_uses_the_xdg_folders_or_their_defaults_under_home) {
  places_input in = input("/opt/v/", false);
  program_places p = choose_places(in);
  EXPECT_FALSE(p.beside_executable);
  EXPECT_EQ(p.settings_directory, "/home/u/.config/vintorel/");
  EXPECT_EQ(p.font_directory, "/home/u/.local/share/vintorel/");
  EXPECT_EQ(p.manual_path, "/opt/v/vintorel.txt");  // not installed: the manual stays beside it
  EXPECT_EQ(p.executable_directory, "/opt/v/");

  in.config_home = "/c";
  in.data_home = "/d/";
  p = choose_places(in);
  EXPECT_EQ(p.settings_directory, "/c/vintorel/");
  EXPECT_EQ(p.font_directory, "/d/vintorel/");

  // Relative values are not base directories; without a home there is no place.
  in.config_home = "rel";
  in.data_home = "rel";
  in.home = "";
  p = choose_places(in);
  EXPECT_EQ(p.settings_directory, "");
  EXPECT_EQ(p.font_directory, "");
}

TEST(program_places, an_installed_editor_uses_the_user_folders_even_where_it_may_write) {
  scratch_dir prefix;
  ASSERT_EQ(::mkdir(prefix.path("bin").c_str(), 0755), 0);
  EXPECT_FALSE(is_installed(prefix.path("bin/")));
  std::filesystem::create_directories(prefix.path("share/vintorel"));
  EXPECT_TRUE(is_installed(prefix.path("bin/")));
  EXPECT_TRUE(is_installed(prefix.path("bin")));
  EXPECT_FALSE(is_installed(prefix.dir()));  // not a bin/ folder

  program_places p = choose_places(input(prefix.path("bin/"), true));
  EXPECT_FALSE(p.beside_executable);
  EXPECT_EQ(p.settings_directory, "/home/u/.config/vintorel/");
  EXPECT_EQ(p.manual_path, prefix.path("share/vintorel/vintorel.txt"));
  EXPECT_EQ(p.executable_directory, prefix.path("bin/"));
  EXPECT_EQ(installed_data_directory("/usr/bin/"), "/usr/share/vintorel/");
  EXPECT_EQ(installed_data_directory("/usr/sbin/"), "");
}

TEST(program_places, first_start_makes_the_folders_private_and_enters_the_font_folder) {
  scratch_dir d;
  ASSERT_EQ(::mkdir(d.path("bin").c_str(), 0755), 0);
  places_input in = input(d.path("bin/"), false);
  in.config_home = d.path("config/deep");
  in.data_home = d.path("data");
  char old[4096];
  ASSERT_NE(::getcwd(old, sizeof old), nullptr);
  start_environment environment;
  ASSERT_TRUE(prepare_process(environment, in));
  char now[4096];
  ASSERT_NE(::getcwd(now, sizeof now), nullptr);
  ASSERT_EQ(::chdir(old), 0);
  EXPECT_EQ(std::string(now) + "/", d.path("data/vintorel/"));
  struct stat st;
  ASSERT_EQ(::stat(d.path("config/deep/vintorel").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(d.path("config").c_str(), &st), 0);  // a missing parent is made too
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // The first-start files go to the settings folder.
  ASSERT_TRUE(ensure_start_files(environment.places.settings_directory));
  for (const char* name : {"vintorel.ini", "layout.ini", "program.ini"})
    EXPECT_TRUE(std::filesystem::exists(d.path("config/deep/vintorel/") + name)) << name;
  EXPECT_FALSE(std::filesystem::exists(d.path("bin/layout.ini")));
}

TEST(program_places, a_folder_that_cannot_be_made_fails_the_start) {
  scratch_dir d;
  d.write("file", "x");
  // A path through a regular file cannot be made, even by root.
  EXPECT_FALSE(make_directories(d.path("file/sub/")));
  EXPECT_TRUE(make_directories(d.path("a/b/c")));
  EXPECT_TRUE(make_directories(d.path("a/b/c/")));  // already there
  EXPECT_FALSE(make_directories("relative/"));

  places_input in = input(d.path("bin/"), false);
  in.config_home = d.path("file/config");
  start_environment environment;
  EXPECT_FALSE(prepare_process(environment, in));
  in.config_home.clear();
  in.home.clear();
  EXPECT_FALSE(prepare_process(environment, in));
}

TEST(program_places, the_default_program_entries_run_grep_and_make) {
  scratch_dir d;
  ASSERT_TRUE(create_default_programs(d.path("program.ini")));
  EXPECT_EQ(read_bytes(d.path("program.ini")),
            "[&Grep]\nprogram=grep -n ??? *.c\nconfirm=+\n[&Make]\nprogram=make\nconfirm=+\n");
  // An existing file is the user's and stays as it is.
  d.write("program.ini", "[&Build]\nprogram=ninja\n");
  ASSERT_TRUE(create_default_programs(d.path("program.ini")));
  EXPECT_EQ(read_bytes(d.path("program.ini")), "[&Build]\nprogram=ninja\n");
}

}  // namespace
}  // namespace vintorel
