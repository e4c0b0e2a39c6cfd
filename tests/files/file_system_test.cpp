// Tests of the file-system helpers that copy, move and delete: a failure must
// never cost data.
#include "files/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

TEST(file_system, copy_move_and_delete_fail_without_harm) {
  test_support::scratch_dir scratch;
  const std::string dir = scratch.dir(), src = scratch.write("src.txt", "data");
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  EXPECT_TRUE(copy_path(scratch.write("big.bin", big), scratch.write("old.bin", "an older and longer content")));
  EXPECT_EQ(scratch.read("old.bin"), big);
  // Onto a link: the link stays and its file gets the copy.
  ASSERT_EQ(symlink("old.bin", (dir + "link.bin").c_str()), 0);
  EXPECT_TRUE(copy_path(src, dir + "link.bin"));
  EXPECT_EQ(scratch.read("old.bin"), "data");
  struct stat st;
  ASSERT_EQ(lstat((dir + "link.bin").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  mkdir((dir + "d").c_str(), 0555);
  ASSERT_EQ(link(src.c_str(), (dir + "hard").c_str()), 0);
  const std::pair<std::string, std::string> failing[] = {
      {dir + "missing", dir + "x"}, {dir, dir + "x"},   {src, src + "/x"},           {src, dir + "d"},
      {src, "/dev/full"},           {src, src},        {src, dir + "hard"},         {src, dir + "./src.txt"}};
  for (const auto& [from, to] : failing) {
    if (to == "/dev/full" && access("/dev/full", W_OK) != 0) continue;
    EXPECT_FALSE(copy_path(from, to)) << from << " to " << to;  // onto itself it would be emptied
    EXPECT_FALSE(move_path(from, to)) << from << " to " << to;
  }
  EXPECT_EQ(scratch.read("src.txt"), "data");
  EXPECT_TRUE(move_path(src, dir + "moved.txt"));
  EXPECT_FALSE(file_exists(src));
  EXPECT_EQ(scratch.read("moved.txt"), "data");

  // A read-only file is deleted; a directory is not, and keeps its mode.
  chmod((dir + "moved.txt").c_str(), 0444);
  EXPECT_TRUE(delete_path(dir + "moved.txt"));
  EXPECT_FALSE(file_exists(dir + "moved.txt"));
  EXPECT_FALSE(delete_path(dir + "d"));
  ASSERT_EQ(stat((dir + "d").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0555u);
}

TEST(resolving_links, chains_relative_targets_and_loops) {
  test_support::scratch_dir dir;
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0700), 0);
  ASSERT_EQ(::symlink("sub/b", (dir / "a").c_str()), 0);
  ASSERT_EQ(::symlink("c.txt", (dir / "sub/b").c_str()), 0);  // relative to sub/
  EXPECT_EQ(resolve_links(dir / "a"), dir / "sub/c.txt");    // dangling: the file to create
  ASSERT_EQ(::symlink("loop", (dir / "loop").c_str()), 0);
  EXPECT_EQ(resolve_links(dir / "loop"), "");
  EXPECT_EQ(resolve_links(dir / "plain"), dir / "plain");
}

}  // namespace
}  // namespace vintorel
