// Tests of the per-user private directory: names another user planted, links
// and open directories never serve, and a second start finds the first's.
#include "platform/private_directory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

TEST(private_directory, planted_names_move_this_user_on_and_the_choice_repeats) {
  test_support::scratch_dir scratch;
  const std::string base = scratch.dir();
  const std::string uid = std::to_string(geteuid());
  // The runtime directory comes first when it is usable.
  ASSERT_EQ(::mkdir((base + "run").c_str(), 0700), 0);
  EXPECT_EQ(choose_private_directory(base + "run", base, 200), base + "run/vintorel/");
  // Too long for the socket, or not absolute: the base is used.
  EXPECT_EQ(choose_private_directory(base + "run", base, 10), base + "vintorel-" + uid + "/");
  EXPECT_EQ(choose_private_directory("run", base, 200), base + "vintorel-" + uid + "/");

  // A link planted under the first name, and (where the test may hand a
  // directory to someone else) another user's directory under the second.
  test_support::scratch_dir other;
  const std::string fresh = other.dir();
  ASSERT_EQ(::mkdir((fresh + "target").c_str(), 0700), 0);
  ASSERT_EQ(::symlink((fresh + "target").c_str(), (fresh + "vintorel-" + uid).c_str()), 0);
  std::string expected = fresh + "vintorel-" + uid + "-1/";
  if (geteuid() == 0) {
    ASSERT_EQ(::mkdir((fresh + "vintorel-" + uid + "-1").c_str(), 0700), 0);
    ASSERT_EQ(::chown((fresh + "vintorel-" + uid + "-1").c_str(), 4321, 4321), 0);
    expected = fresh + "vintorel-" + uid + "-2/";
  }
  EXPECT_EQ(choose_private_directory("", fresh, 200), expected);
  EXPECT_EQ(choose_private_directory("", fresh, 200), expected);  // a second start finds the same
  struct stat st;
  ASSERT_EQ(::stat(expected.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A directory of ours that others may enter is closed to them.
  ASSERT_EQ(::chmod(expected.c_str(), 0755), 0);
  EXPECT_TRUE(prepare_private_directory(expected));
  ASSERT_EQ(::stat(expected.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace vintorel
