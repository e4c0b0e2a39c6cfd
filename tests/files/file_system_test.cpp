// Tests of the file-system helpers: copying, moving and deleting without losing data.
#include "files/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;

mode_t mode_of(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

TEST(file_system, copy_path_copies_exactly_or_fails_without_harm) {
  test_support::scratch_dir scratch;
  const std::string dir = scratch.dir();
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  EXPECT_TRUE(copy_path(scratch.write("src.bin", big), dir + "dst.bin"));
  EXPECT_EQ(read_bytes(dir + "dst.bin"), big);

  // An existing target is overwritten and keeps its own mode; a read-only source
  // gives a read-only copy.
  std::string old = scratch.write("old.txt", "an older and longer content");
  chmod(old.c_str(), 0640);
  std::string src = scratch.write("small.txt", "new");
  EXPECT_TRUE(copy_path(src, old));
  EXPECT_EQ(read_bytes(old), "new");
  EXPECT_EQ(mode_of(old), 0640u);
  chmod(src.c_str(), 0444);
  EXPECT_TRUE(copy_path(src, dir + "ro_copy.txt"));
  EXPECT_EQ(mode_of(dir + "ro_copy.txt") & 0222, 0u);

  mkdir((dir + "d").c_str(), 0755);
  ASSERT_EQ(link(src.c_str(), (dir + "hard").c_str()), 0);
  const std::pair<std::string, std::string> failing[] = {
      {dir + "missing", dir + "x"}, {dir, dir + "x"},        {src, src + "/x"},
      {src, dir + "d"},             {src, "/dev/full"},      {src, src},  // onto itself it would be emptied
      {src, dir + "hard"},          {src, dir + "./small.txt"}};
  for (const auto& [from, to] : failing) {
    if (to == "/dev/full" && access("/dev/full", W_OK) != 0) continue;
    EXPECT_FALSE(copy_path(from, to)) << from << " to " << to;
    EXPECT_FALSE(move_path(from, to)) << from << " to " << to;
  }
  EXPECT_FALSE(file_exists(dir + "x"));
  EXPECT_EQ(read_bytes(src), "new");
  chmod(src.c_str(), 0644);
  EXPECT_TRUE(move_path(src, dir + "moved.txt"));
  EXPECT_FALSE(file_exists(src));
  EXPECT_EQ(read_bytes(dir + "moved.txt"), "new");
}

TEST(file_system, delete_path_removes_read_only_files_but_no_directory) {
  test_support::scratch_dir scratch;
  std::string f = scratch.write("ro.txt", "x");
  chmod(f.c_str(), 0444);
  EXPECT_TRUE(delete_path(f));
  EXPECT_FALSE(file_exists(f));
  // A failed retry leaves the directory's mode as it was.
  mkdir((scratch / "sub").c_str(), 0555);
  EXPECT_FALSE(delete_path(scratch / "sub"));
  EXPECT_EQ(mode_of(scratch / "sub"), 0555u);
}

}  // namespace
}  // namespace vintorel
