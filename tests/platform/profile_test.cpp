// Tests of the private-profile layer: reading hand-written files the way the Windows
// functions do, and writes that keep everything else and never leave a broken file.
#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "scratch_dir.h"

namespace vintorel {
namespace {

TEST(profile_text, hand_written_forms_read_and_edits_keep_everything_else) {
  struct { std::string contents, section, key; std::size_t size; std::string expected; } rows[] = {
      {"; my settings\n[value]\n\tcolumns\t=\t100", "value", "columns", 256, "100"},  // no last line end
      {"\xEF\xBB\xBF  [VALUE]\rCOLUMNS = 100\r", "value", "columns", 256, "100"},
      {"[string]\r\nfunction =  \"F1 help\"  \r\n", "string", "function", 256, "F1 help"},
      {"[\x83\x41]\nk=v\n", "\x83\x61", "k", 256, "D"},   // second bytes are not case folded
      {"[key]\nhome=first\nhome=second\n", "key", "home", 256, "first"},  // the first key counts
      {"[s]\nk=12345678901234\n", "s", "k", 12, "12345678901"},
      {"[s]\nk=ab\x95\x5C\n", "s", "k", 4, "ab"},  // a double-byte character left out whole
  };
  for (const auto& r : rows)
    EXPECT_EQ(profile_value_in(r.contents, r.section, r.key, "D", r.size), r.expected) << r.contents;

  const std::string s = "; top\r\n[a]\r\nx = 1\r\ny=2\r\n\r\n[b]\r\nx=3\r\n";
  EXPECT_EQ(profile_with_value(s, "A", "X", "9"), "; top\r\n[a]\r\nx = 9\r\ny=2\r\n\r\n[b]\r\nx=3\r\n");
  EXPECT_EQ(profile_with_value(s, "a", "z", "5"), "; top\r\n[a]\r\nx = 1\r\ny=2\r\nz=5\r\n\r\n[b]\r\nx=3\r\n");
  const std::string d = "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n[c]\nz=4";
  EXPECT_EQ(profile_without_section(d, "B"), "[a]\nx=1\ny=2\n[c]\nz=4");
}

class profile_file : public ::testing::Test {
 protected:
  void TearDown() override {
    profile_seam::rename = ::rename;
    profile_seam::write = ::write;
  }
  test_support::scratch_dir dir;
};

TEST_F(profile_file, a_failed_rename_or_write_leaves_the_file_untouched_and_a_good_one_keeps_its_mode) {
  const std::string original = "[a]\nx=1\n[b]\ny=2\n";
  std::string p = dir.write("ext.ini", original);
  chmod(p.c_str(), 0640);
  profile_seam::rename = [](const char*, const char*) {
    errno = ENOSPC;
    return -1;
  };
  EXPECT_FALSE(write_profile_string(p, "a", "x", "changed"));
  EXPECT_EQ(dir.read("ext.ini"), original);
  EXPECT_EQ(dir.entry_count(), 1);  // the temporary file is gone
  profile_seam::rename = ::rename;

  // The disk fills up halfway through the temporary file.
  profile_seam::write = [](int fd, const void* data, std::size_t size) -> ssize_t {
    if (size > 4) return ::write(fd, data, 4);
    errno = ENOSPC;
    return -1;
  };
  EXPECT_FALSE(write_profile_string(p, "a", "x", "changed"));
  EXPECT_EQ(dir.read("ext.ini"), original);
  EXPECT_EQ(dir.entry_count(), 1);
  profile_seam::write = ::write;
  EXPECT_TRUE(write_profile_string(p, "a", "x", "changed"));
  EXPECT_EQ(dir.read("ext.ini"), "[a]\nx=changed\n[b]\ny=2\n");
  struct stat st;
  ASSERT_EQ(stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entry_count(), 1);
}

TEST_F(profile_file, writes_refuse_what_they_cannot_do_safely_and_keep_links) {
  std::string p = dir.write("ro.ini", "[a]\nx=1\n");
  chmod(p.c_str(), 0444);  // read-only even for root: the owner's write bit counts
  EXPECT_FALSE(write_profile_string(p, "a", "x", "2"));
  EXPECT_FALSE(delete_profile_section(p, "a"));
  EXPECT_EQ(dir.read("ro.ini"), "[a]\nx=1\n");
  std::filesystem::create_directory(dir.path("dir.ini"));
  EXPECT_FALSE(write_profile_string(dir.path("dir.ini"), "a", "x", "1"));
  EXPECT_FALSE(write_profile_string(dir.write("plain", "") + "/x.ini", "a", "x", "1"));

  std::string q = dir.write("q.ini", "[a]\nx=1\n");
  for (auto [section, key, value] : {std::array<const char*, 3>{"a", "x", "two\nlines"}, {"a", "x", "cr\r"},
                                     {"a]", "x", "1"}, {"a\n[b", "x", "1"}, {"a", "x=y", "1"},
                                     {"a", "  ", "1"}, {"a", "[b]", "1"}})
    EXPECT_FALSE(write_profile_string(q, section, key, value)) << section << key << value;
  EXPECT_EQ(dir.read("q.ini"), "[a]\nx=1\n");

  std::string link = dir.path("link.ini");  // a link is kept and its target rewritten
  ASSERT_EQ(symlink(dir.write("real.ini", "[a]\nx=1\n").c_str(), link.c_str()), 0);
  EXPECT_TRUE(write_profile_string(link, "a", "x", "2"));
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.read("real.ini"), "[a]\nx=2\n");
}

}  // namespace
}  // namespace vintorel
