// Tests of the response file: its lines, and its refusal of files that someone
// else could have planted.
#include "shell/response_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using v = std::vector<std::string>;

TEST(response_file, lines_for_files_and_for_a_command) {
  command_line_items files;
  files.files = {"/w/a.txt", "/w/bad\nname", "/w/b.txt"};
  EXPECT_EQ(response_lines(files), (v{"/w/a.txt", "/w/b.txt"}));
  command_line_items command;
  command.command_mode = true;
  command.files = {"/w/a.txt"};  // files before /P are not handed over with a command
  command.directory = "C:\\work/";
  command.command = "make all";
  EXPECT_EQ(response_lines(command), (v{"C:\\work/", "make all"}));
  command.command = "two\nlines";
  EXPECT_TRUE(response_lines(command).empty());
}

TEST(response_file, write_then_read_round_trip) {
  scratch_dir d;
  std::string p = d.path("vintorel.rsp");
  EXPECT_FALSE(response_file_exists(p));
  ASSERT_TRUE(write_response_file(p, {"/w/a b.txt", "/w/\x95\x5C.txt"}));
  EXPECT_EQ(d.read("vintorel.rsp"), "/w/a b.txt\n/w/\x95\x5C.txt\n");
  struct stat st;
  ASSERT_EQ(stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  v lines;
  ASSERT_TRUE(read_response_file(p, lines));
  EXPECT_EQ(lines, (v{"/w/a b.txt", "/w/\x95\x5C.txt"}));
  // An existing file of this user is emptied first, and loses other permissions.
  chmod(p.c_str(), 0644);
  ASSERT_TRUE(write_response_file(p, {"dir/", ""}));  // an empty command line survives
  ASSERT_EQ(stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_TRUE(read_response_file(p, lines));
  EXPECT_EQ(lines, (v{"dir/", ""}));
  EXPECT_TRUE(delete_response_file(p));
  EXPECT_FALSE(response_file_exists(p));
  EXPECT_TRUE(delete_response_file(p));  // nothing left to delete
  EXPECT_FALSE(read_response_file(p, lines));
}

TEST(response_file, planted_files_are_refused) {
  scratch_dir d;
  std::string victim = d.write("victim.txt", "precious\n");
  std::string p = d.path("vintorel.rsp");

  // A symbolic link is never followed, neither for writing nor reading.
  ASSERT_EQ(symlink(victim.c_str(), p.c_str()), 0);
  EXPECT_FALSE(write_response_file(p, {"evil"}));
  v lines;
  EXPECT_FALSE(read_response_file(p, lines));
  EXPECT_EQ(d.read("victim.txt"), "precious\n");
  ASSERT_EQ(unlink(p.c_str()), 0);

  // A second name for one of this user's files is not emptied.
  ASSERT_EQ(link(victim.c_str(), p.c_str()), 0);
  EXPECT_FALSE(write_response_file(p, {"evil"}));
  EXPECT_EQ(d.read("victim.txt"), "precious\n");
  ASSERT_EQ(unlink(p.c_str()), 0);

  // A directory or a pipe in its place.
  ASSERT_EQ(mkdir(p.c_str(), 0700), 0);
  EXPECT_FALSE(write_response_file(p, {"x"}));
  EXPECT_FALSE(read_response_file(p, lines));
  ASSERT_EQ(rmdir(p.c_str()), 0);
  ASSERT_EQ(mkfifo(p.c_str(), 0600), 0);
  EXPECT_FALSE(read_response_file(p, lines));  // and does not hang
  EXPECT_FALSE(write_response_file(p, {"x"}));
  ASSERT_EQ(unlink(p.c_str()), 0);

  // Another user's file: neither read, replaced nor deleted.
  if (geteuid() == 0) {
    d.write("vintorel.rsp", "/their/file\n");
    ASSERT_EQ(chown(p.c_str(), 12345, 12345), 0);
    EXPECT_FALSE(read_response_file(p, lines));
    EXPECT_FALSE(write_response_file(p, {"mine"}));
    EXPECT_FALSE(delete_response_file(p));
    EXPECT_EQ(d.read("vintorel.rsp"), "/their/file\n");
  }
}

}  // namespace
}  // namespace vintorel
