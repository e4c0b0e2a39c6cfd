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

std::string value(std::string_view contents, std::string_view section, std::string_view key,
                  std::string_view fallback = "DEFAULT", std::size_t size = 256) {
  return profile_value_in(contents, section, key, fallback, size);
}

TEST(profile_read, hand_written_forms_read_alike) {
  const char* forms[] = {
      "[value]\r\ncolumns=100\r\n[string]\r\nfunction=F1 help\r\n",
      "[value]\ncolumns = 100\n\n[string]\nfunction =  F1 help  \n",
      "; my settings\n[value]\n\tcolumns\t=\t100\n[string]\nfunction=F1 help",  // no last line end
      "\xEF\xBB\xBF[value]\ncolumns=100\n[string]\nfunction=\"F1 help\"\n",
      "[value]\rcolumns=100\r[string]\rfunction=F1 help\r",
      "  [VALUE]\nCOLUMNS=100\n[String]\nFunction=F1 help\n",
  };
  for (const char* form : forms) {
    SCOPED_TRACE(form);
    EXPECT_EQ(value(form, "value", "columns"), "100");
    EXPECT_EQ(value(form, "string", "function"), "F1 help");
    EXPECT_EQ(value(form, "string", "columns"), "DEFAULT");
  }
}

TEST(profile_read, edge_cases) {
  const std::string keys = "[key]\n;pagedown=forward_page\npageup=\nno equals sign here\nhome=first\n"
                           "home=second\n[key]\nend=later\n";
  struct { std::string contents, section, key, fallback; std::size_t size; std::string expected; } rows[] = {
      {"[s]\nf=\x83\x5C\x83\x74 \x95\x5C\n", "s", "f", "", 256, "\x83\x5C\x83\x74 \x95\x5C"},  // bytes as they are
      {"[\x83\x5D]\nk=v\n", "\x83\x5D", "k", "", 256, "v"},  // second byte "]" ends no name
      {"[\x83\x41]\nk=v\n", "\x83\x61", "k", "D", 256, "D"},  // second bytes are not case folded
      {keys, "key", "pagedown", "D", 256, "D"},               // commented out
      {keys, "key", "pageup", "D", 256, ""},                  // present and empty
      {keys, "key", "home", "D", 256, "first"},               // the first key counts
      {keys, "key", "end", "D", 256, "D"},                    // only the first section counts
      {keys, "key", "no equals sign here", "D", 256, "D"},
      {"[a]\nb=1\n", "a", "b", "x", 0, ""},
      {"[s]\nk=\"  padded  \"\n", "s", "k", "", 256, "  padded  "},
      {"[s]\nk=\"\n", "s", "k", "", 256, "\""},  // one quote is kept
      {"[s]\nk=a=b\n", "s", "k", "", 256, "a=b"},
      {"[s] ; note\nk=1\n", "s", "k", "", 256, "1"},  // name up to the first "]"
      {"[open\nk=1\n", "open", "k", "", 256, "1"},    // no "]": the rest of the line
      {"[s]\nk=1\n", "s ", "k", "D", 256, "D"},
      {"[s]\nk=12345678901234\n", "s", "k", "", 12, "12345678901"},
      {"", "s", "k", "abcdef", 4, "abc"},
      {"", "s", "k", "+  ", 4, "+"},  // trailing blanks of the default go
      {"[s]\nk=ab\x95\x5C\n", "s", "k", "", 4, "ab"},  // a double-byte character left out whole
      {"[s]\nk=ab\x95\x5C\n", "s", "k", "", 5, "ab\x95\x5C"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(value(r.contents, r.section, r.key, r.fallback, r.size), r.expected) << r.contents << r.key;
  EXPECT_EQ(profile_section_names_in("x=1\n[c/h/cpp]\na=1\n ; c\n[txt]\r\n[Txt]\n"),
            (std::vector<std::string>{"c/h/cpp", "txt", "Txt"}));
}

TEST(profile_edit, changes_keep_everything_else_and_additions_use_the_file_line_end) {
  const std::string s = "; top\r\n[a]\r\nx = 1\r\ny=2\r\n\r\n[b]\r\nx=3\r\n";
  struct { std::string before, section, key, value, after; } rows[] = {
      {s, "A", "X", "9", "; top\r\n[a]\r\nx = 9\r\ny=2\r\n\r\n[b]\r\nx=3\r\n"},
      {s, "a", "y", "", "; top\r\n[a]\r\nx = 1\r\ny=\r\n\r\n[b]\r\nx=3\r\n"},
      {s, "a", "z", "5", "; top\r\n[a]\r\nx = 1\r\ny=2\r\nz=5\r\n\r\n[b]\r\nx=3\r\n"},  // before the blank line
      {s, "c", "k", "v", s + "[c]\r\nk=v\r\n"},
      {"[a]\nx=1", "a", "y", "2", "[a]\nx=1\ny=2\n"},  // a missing last line end is supplied
      {"[a]\nx=1", "b", "y", "2", "[a]\nx=1\n[b]\ny=2\n"},
      {"[a]", "a", "y", "2", "[a]\ny=2\n"},
      {"", "a", "y", "2", "[a]\ny=2\n"},
      {"\xEF\xBB\xBF", "a", "y", "2", "\xEF\xBB\xBF[a]\ny=2\n"},  // no line end yet: LF
  };
  for (const auto& r : rows)
    EXPECT_EQ(profile_with_value(r.before, r.section, r.key, r.value), r.after) << r.before << r.key;

  const std::string d = "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n[c]\nz=4";
  EXPECT_EQ(profile_without_key(d, "a", "x"), "[a]\ny=2\n[b]\nx=3\n; b's note\n[c]\nz=4");
  EXPECT_EQ(profile_without_key(d, "c", "z"), "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n[c]\n");
  EXPECT_EQ(profile_without_key(d, "a", "none"), d);
  EXPECT_EQ(profile_without_section(d, "B"), "[a]\nx=1\ny=2\n[c]\nz=4");
  EXPECT_EQ(profile_without_section(d, "c"), "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n");
  EXPECT_EQ(profile_without_section(d, "none"), d);
}

class profile_file : public ::testing::Test {
 protected:
  void TearDown() override {
    profile_seam::rename = ::rename;
    profile_seam::write = ::write;
  }
  test_support::scratch_dir dir;
};

TEST_F(profile_file, a_missing_file_is_made_by_a_write_and_rewrites_keep_mode_and_no_temporary) {
  std::string p = dir.path("ext.ini");
  EXPECT_EQ(read_profile_string(p, "c", "tab size", "2", 3), "2");
  EXPECT_TRUE(read_profile_section_names(p).empty());
  EXPECT_TRUE(delete_profile_section(p, "c"));  // nothing to delete: no file made
  EXPECT_TRUE(delete_profile_key(p, "c", "k"));
  EXPECT_EQ(dir.entry_count(), 0);
  EXPECT_TRUE(write_profile_string(p, "c", "tab size", "4"));
  EXPECT_EQ(dir.read("ext.ini"), "[c]\ntab size=4\n");
  EXPECT_EQ(read_profile_string(p, "C", "TAB SIZE", "2", 3), "4");

  p = dir.write("ext.ini", "[window]\r\nx=10\r\ny=20\r\n");
  chmod(p.c_str(), 0640);
  EXPECT_TRUE(write_profile_string(p, "window", "x", "30"));
  EXPECT_TRUE(write_profile_string(p, "window", "w", "640"));
  EXPECT_EQ(dir.read("ext.ini"), "[window]\r\nx=30\r\ny=20\r\nw=640\r\n");
  struct stat st;
  ASSERT_EQ(stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entry_count(), 1);
  EXPECT_TRUE(delete_profile_key(p, "window", "y"));
  EXPECT_TRUE(delete_profile_section(p, "WINDOW"));
  EXPECT_EQ(dir.read("ext.ini"), "");
}

TEST_F(profile_file, a_failed_rename_or_write_leaves_the_file_untouched) {
  const std::string original = "[a]\nx=1\n[b]\ny=2\n";
  std::string p = dir.write("ext.ini", original);
  profile_seam::rename = [](const char*, const char*) {
    errno = ENOSPC;
    return -1;
  };
  EXPECT_FALSE(write_profile_string(p, "a", "x", "changed"));
  EXPECT_FALSE(write_profile_string(p, "c", "z", "new"));
  EXPECT_FALSE(delete_profile_section(p, "a"));
  EXPECT_FALSE(delete_profile_key(p, "b", "y"));
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
}

TEST_F(profile_file, writes_refuse_what_they_cannot_do_safely_and_keep_links) {
  std::string p = dir.write("ro.ini", "[a]\nx=1\n");
  chmod(p.c_str(), 0444);  // read-only even for root: the owner's write bit counts
  EXPECT_FALSE(write_profile_string(p, "a", "x", "2"));
  EXPECT_FALSE(delete_profile_section(p, "a"));
  EXPECT_EQ(dir.read("ro.ini"), "[a]\nx=1\n");
  std::filesystem::create_directory(dir.path("dir.ini"));
  EXPECT_FALSE(write_profile_string(dir.path("dir.ini"), "a", "x", "1"));
  EXPECT_EQ(read_profile_string(dir.path("dir.ini"), "a", "x", "d", 8), "d");
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
  ASSERT_EQ(symlink(dir.path("gone.ini").c_str(), dir.path("dangling.ini").c_str()), 0);
  EXPECT_FALSE(write_profile_string(dir.path("dangling.ini"), "a", "x", "1"));
}

}  // namespace
}  // namespace vintorel
