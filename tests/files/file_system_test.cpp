// Tests of the file-system helpers: paths, environment directories, attributes,
// copying, moving and deleting.
#include "files/file_system.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scoped_env.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;
using test_support::scoped_env;

class file_system_test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir.empty()); }
  std::string make(const std::string& name, const std::string& content) {
    return scratch.write(name, content);
  }
  test_support::scratch_dir scratch;
  std::string dir = scratch.dir();
};

TEST_F(file_system_test, desktop_directory_from_xdg_entry_else_home) {
  scoped_env home("HOME", dir.c_str());
  scoped_env config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(desktop_directory(), dir);
  mkdir((dir + ".config").c_str(), 0755);
  make(".config/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  EXPECT_EQ(desktop_directory(), dir);  // named folder missing: home
  mkdir((dir + "Schreibtisch").c_str(), 0755);
  EXPECT_EQ(desktop_directory(), dir + "Schreibtisch/");
}

TEST_F(file_system_test, directory_from_environment_keeps_case_and_converts_separators) {
  scoped_env v("VINTOREL_TEST_DIR", "c:\\work\\tmp");
  EXPECT_EQ(directory_from_environment("VINTOREL_TEST_DIR", true), "c:/work/tmp/");
  EXPECT_EQ(directory_from_environment("VINTOREL_TEST_DIR", false), "c:\\work\\tmp");
  // 0x95 0x5C is one double-byte character whose second byte is not a separator.
  scoped_env w("VINTOREL_TEST_DIR2", "/a\x95\x5C\\b/");
  EXPECT_EQ(directory_from_environment("VINTOREL_TEST_DIR2", true), "/a\x95\x5C/b/");
  scoped_env u("VINTOREL_TEST_UNSET", nullptr);
  EXPECT_EQ(directory_from_environment("VINTOREL_TEST_UNSET", true), "");
}

TEST_F(file_system_test, temporary_directory_prefers_tmp_ram_then_tmp_then_temp) {
  scoped_env ram("TMP_RAM", "/ram");
  scoped_env tmp("TMP", "/tmpdir");
  scoped_env temp("TEMP", "/temp");
  EXPECT_EQ(temporary_directory(), "/ram/");
  setenv("TMP_RAM", "", 1);
  EXPECT_EQ(temporary_directory(), "/tmpdir/");
  unsetenv("TMP");
  EXPECT_EQ(temporary_directory(), "/temp/");
  unsetenv("TEMP");
  scoped_env tmpdir("TMPDIR", "/var/tmp");
  EXPECT_EQ(temporary_directory(), "/var/tmp/");
  unsetenv("TMPDIR");
  EXPECT_EQ(temporary_directory(), "/tmp/");
}

TEST_F(file_system_test, full_path_resolves_dots_without_touching_the_disk) {
  EXPECT_EQ(full_path("/a/b/../c/./d"), "/a/c/d");
  EXPECT_EQ(full_path("/a//b/"), "/a/b/");
  EXPECT_EQ(full_path("/../../x"), "/x");
  EXPECT_EQ(full_path("/a/.."), "/");
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  std::string here = cwd;
  EXPECT_EQ(full_path("x.txt"), (here == "/" ? "" : here) + "/x.txt");
  // A link is not followed: "link/.." is the directory holding the link.
  ASSERT_EQ(symlink("/usr/share", (dir + "link").c_str()), 0);
  EXPECT_EQ(full_path(dir + "link/../f"), dir + "f");
}

TEST_F(file_system_test, long_path_fails_for_any_missing_component) {
  std::string f = make("a.txt", "x");
  std::string out;
  EXPECT_TRUE(long_path(f, out));
  EXPECT_EQ(out, f);
  EXPECT_TRUE(long_path(dir, out));
  EXPECT_FALSE(long_path(dir + "missing/a.txt", out));
  EXPECT_FALSE(long_path(dir + "a.txt/b", out));  // through a regular file
  EXPECT_FALSE(long_path("", out));
}

TEST_F(file_system_test, slash_conversions_respect_double_byte_characters) {
  std::string p = "a\\b\x83\x5C\\c";
  to_slashes(p);
  EXPECT_EQ(p, "a/b\x83\x5C/c");
  std::string lone = "x\x83";  // lead byte at the end has no trail byte
  to_slashes(lone);
  EXPECT_EQ(lone, "x\x83");
  std::string q = "a/b/c";
  to_backslashes(q);
  EXPECT_EQ(q, "a\\b\\c");
}

TEST_F(file_system_test, write_text_file_writes_bytes_as_given_or_fails) {
  EXPECT_TRUE(write_text_file(dir + "w.ini", "[a]\nk=v\n"));
  EXPECT_EQ(read_bytes(dir + "w.ini"), "[a]\nk=v\n");  // no CR added
  make("plain", "x");
  EXPECT_FALSE(write_text_file(dir + "plain/w.ini", "x"));
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_FALSE(write_text_file("/dev/full", "x"));  // the disk refuses; the node stays
    EXPECT_TRUE(file_exists("/dev/full"));
  }
}

TEST_F(file_system_test, attribute_strings) {
  std::string a;
  std::string f = make("f.txt", "x");
  EXPECT_TRUE(get_attribute_string(f, a));
  EXPECT_EQ(a, "----");
  ASSERT_EQ(mkfifo((dir + "fifo").c_str(), 0644), 0);
  EXPECT_TRUE(get_attribute_string(dir + "fifo", a));
  EXPECT_EQ(a, "s---");
  ASSERT_EQ(symlink((dir + "gone").c_str(), (dir + "dangling").c_str()), 0);
  EXPECT_TRUE(get_attribute_string(dir + "dangling", a));
  EXPECT_EQ(a[0], 's');
  EXPECT_FALSE(get_attribute_string(dir + "missing", a));
  EXPECT_EQ(a, "????");
  EXPECT_FALSE(get_attribute_string(f + "/x", a));
  EXPECT_EQ(a, "????");

  // Read-only through the owner's write bit holds for root as well.
  EXPECT_TRUE(set_attribute_string(f, "--r-"));
  EXPECT_TRUE(get_attribute_string(f, a));
  EXPECT_EQ(a, "--r-");
  struct stat st;
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  EXPECT_TRUE(set_attribute_string(f, "----"));
  EXPECT_TRUE(get_attribute_string(f, a));
  EXPECT_EQ(a, "----");
  EXPECT_FALSE(set_attribute_string(dir + "missing", "----"));
}

TEST_F(file_system_test, delete_path_removes_read_only_files_and_keeps_others_intact) {
  std::string f = make("ro.txt", "x");
  chmod(f.c_str(), 0444);
  EXPECT_TRUE(delete_path(f));
  EXPECT_FALSE(file_exists(f));
  EXPECT_FALSE(delete_path(dir + "missing"));
  // A directory is not removed, and a failed retry leaves its mode as it was.
  mkdir((dir + "sub").c_str(), 0555);
  EXPECT_FALSE(delete_path(dir + "sub"));
  struct stat st;
  ASSERT_EQ(stat((dir + "sub").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0555u);
  // A special file (system attribute) is removed by the first attempt only.
  ASSERT_EQ(mkfifo((dir + "fifo").c_str(), 0644), 0);
  EXPECT_TRUE(delete_path(dir + "fifo"));
}

TEST_F(file_system_test, copy_path_copies_exactly_and_overwrites) {
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  std::string src = make("src.bin", big);
  EXPECT_TRUE(copy_path(src, dir + "dst.bin"));
  EXPECT_EQ(read_bytes(dir + "dst.bin"), big);

  // An existing target is overwritten and keeps its own mode.
  std::string old = make("old.txt", "an older and longer content");
  chmod(old.c_str(), 0640);
  std::string small = make("small.txt", "new");
  EXPECT_TRUE(copy_path(small, old));
  EXPECT_EQ(read_bytes(old), "new");
  struct stat st;
  ASSERT_EQ(stat(old.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  // A read-only source gives a read-only copy.
  chmod(small.c_str(), 0444);
  EXPECT_TRUE(copy_path(small, dir + "ro_copy.txt"));
  std::string a;
  EXPECT_TRUE(get_attribute_string(dir + "ro_copy.txt", a));
  EXPECT_EQ(a, "--r-");
}

TEST_F(file_system_test, copy_path_reports_every_failure) {
  std::string src = make("src.txt", "data");
  EXPECT_FALSE(copy_path(dir + "missing", dir + "x"));
  EXPECT_FALSE(file_exists(dir + "x"));
  EXPECT_FALSE(copy_path(dir, dir + "x"));            // a directory is no file to copy
  EXPECT_FALSE(copy_path(src, src + "/x"));           // target through a regular file
  mkdir((dir + "d").c_str(), 0755);
  EXPECT_FALSE(copy_path(src, dir + "d"));            // a directory in place of the target
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_FALSE(copy_path(src, "/dev/full"));        // the disk refuses the write
  }
  EXPECT_EQ(read_bytes(src), "data");
}

TEST_F(file_system_test, copy_path_onto_itself_changes_nothing) {
  std::string src = make("self.txt", "keep me");
  EXPECT_FALSE(copy_path(src, src));
  ASSERT_EQ(link(src.c_str(), (dir + "hard").c_str()), 0);
  EXPECT_FALSE(copy_path(src, dir + "hard"));
  EXPECT_FALSE(copy_path(src, dir + "./self.txt"));
  EXPECT_EQ(read_bytes(src), "keep me");
}

TEST_F(file_system_test, move_path_deletes_the_source_only_after_a_good_copy) {
  std::string src = make("m.txt", "moved");
  EXPECT_TRUE(move_path(src, dir + "n.txt"));
  EXPECT_FALSE(file_exists(src));
  EXPECT_EQ(read_bytes(dir + "n.txt"), "moved");

  std::string kept = make("k.txt", "kept");
  mkdir((dir + "d").c_str(), 0755);
  EXPECT_FALSE(move_path(kept, dir + "d"));
  EXPECT_FALSE(move_path(kept, kept + "/x"));
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_FALSE(move_path(kept, "/dev/full"));
  }
  EXPECT_EQ(read_bytes(kept), "kept");
}

TEST_F(file_system_test, console_programs_by_name_and_header) {
  auto pe = [](unsigned subsystem) {
    std::string h(0x200, '\0');
    h[0] = 'M';
    h[1] = 'Z';
    h[0x3C] = static_cast<char>(0x80);
    h.replace(0x80, 4, std::string("PE\0\0", 4));
    h[0x80 + 24 + 68] = static_cast<char>(subsystem);
    return h;
  };
  EXPECT_TRUE(is_console_program(make("tool.exe", pe(3))));
  EXPECT_FALSE(is_console_program(make("gui.EXE", pe(2))));
  std::string dos(0x40, '\0');
  dos[0] = 'M';
  dos[1] = 'Z';
  EXPECT_TRUE(is_console_program(make("old.exe", dos)));
  EXPECT_FALSE(is_console_program(make("text.exe", "not an executable")));
  EXPECT_FALSE(is_console_program(dir + "missing.exe"));

  std::string bad_offset = dos;
  bad_offset[0x3F] = static_cast<char>(0xFF);  // PE offset far past the end
  const auto* bytes = reinterpret_cast<const unsigned char*>(bad_offset.data());
  EXPECT_EQ(executable_type(bytes, bad_offset.size()), 0x5A4D);
}

}  // namespace
}  // namespace vintorel
