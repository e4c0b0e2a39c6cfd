// Tests of the private-profile layer: reading hand-written files the way the Windows
// functions do, and writes that keep everything else and never leave a broken file.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

std::string value(std::string_view contents, std::string_view section, std::string_view key,
                  std::string_view fallback = "DEFAULT", std::size_t size = 256) {
  return profile_value_in(contents, section, key, fallback, size);
}

TEST(profile_read, hand_written_forms_read_alike) {
  // The same settings in the forms people write them.
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

TEST(profile_read, values_are_bytes_without_conversion) {
  std::string sjis = "[string]\nfunction=\x83\x5C\x83\x74\x83\x67 \x95\x5C\n";  // ソフト 表
  EXPECT_EQ(value(sjis, "string", "function"), "\x83\x5C\x83\x74\x83\x67 \x95\x5C");
  std::string utf8 = "[string]\nfunction=\xE8\xA1\xA8\xE7\xA4\xBA\n";
  EXPECT_EQ(value(utf8, "string", "function"), "\xE8\xA1\xA8\xE7\xA4\xBA");
  // A section name ending in a double-byte character whose second byte is "]".
  std::string name = "[\x83\x5D]\nk=v\n";
  EXPECT_EQ(value(name, "\x83\x5D", "k"), "v");
  // Case folding never touches a second byte: 0x83 0x41 and 0x83 0x61 differ.
  EXPECT_EQ(value("[\x83\x41]\nk=v\n", "\x83\x61", "k"), "DEFAULT");
}

TEST(profile_read, comments_missing_values_and_duplicates) {
  std::string s =
      "[key]\n"
      ";pagedown=forward_page\n"
      "pageup=\n"
      "no equals sign here\n"
      "home=first\n"
      "home=second\n"
      "[key]\n"
      "end=later\n";
  EXPECT_EQ(value(s, "key", "pagedown"), "DEFAULT");  // commented out
  EXPECT_EQ(value(s, "key", "pageup"), "");           // present and empty
  EXPECT_EQ(value(s, "key", "home"), "first");        // the first key counts
  EXPECT_EQ(value(s, "key", "end"), "DEFAULT");       // only the first section counts
  EXPECT_EQ(value(s, "key", "no equals sign here"), "DEFAULT");
  EXPECT_EQ(value("", "a", "b"), "DEFAULT");
  EXPECT_EQ(value("[a]\nb=1\n", "a", "b", "x", 0), "");
}

TEST(profile_read, quotes_blanks_and_brackets) {
  EXPECT_EQ(value("[s]\nk=\"  padded  \"\n", "s", "k"), "  padded  ");
  EXPECT_EQ(value("[s]\nk=\"\n", "s", "k"), "\"");      // one quote is kept
  EXPECT_EQ(value("[s]\nk=a=b\n", "s", "k"), "a=b");    // split at the first "="
  EXPECT_EQ(value("[s] ; note\nk=1\n", "s", "k"), "1");  // name up to the first "]"
  EXPECT_EQ(value("[open\nk=1\n", "open", "k"), "1");    // no "]": the rest of the line
  EXPECT_EQ(value("[s]\nk=1\n", "s ", "k"), "DEFAULT");
}

TEST(profile_read, size_limits_the_value_and_the_default) {
  EXPECT_EQ(value("[s]\nk=12345678901234\n", "s", "k", "", 12), "12345678901");
  EXPECT_EQ(value("", "s", "k", "abcdef", 4), "abc");
  EXPECT_EQ(value("", "s", "k", "+  ", 4), "+");  // trailing blanks of the default go
  // A double-byte character that does not fit is left out whole.
  EXPECT_EQ(value("[s]\nk=ab\x95\x5C\n", "s", "k", "", 4), "ab");
  EXPECT_EQ(value("[s]\nk=ab\x95\x5C\n", "s", "k", "", 5), "ab\x95\x5C");
}

TEST(profile_read, section_names_in_file_order) {
  std::string s = "x=1\n[c/h/cpp]\na=1\n ; c\n[txt]\r\n[Txt]\n";
  std::vector<std::string> names = profile_section_names_in(s);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "c/h/cpp");
  EXPECT_EQ(names[1], "txt");
  EXPECT_EQ(names[2], "Txt");
}

TEST(profile_edit, changing_a_value_keeps_everything_else) {
  std::string s = "; top\r\n[a]\r\nx = 1\r\ny=2\r\n\r\n[b]\r\nx=3\r\n";
  EXPECT_EQ(profile_with_value(s, "A", "X", "9"),
            "; top\r\n[a]\r\nx = 9\r\ny=2\r\n\r\n[b]\r\nx=3\r\n");
  EXPECT_EQ(profile_with_value(s, "a", "y", ""), "; top\r\n[a]\r\nx = 1\r\ny=\r\n\r\n[b]\r\nx=3\r\n");
}

TEST(profile_edit, new_keys_and_sections_go_to_the_end_with_the_file_line_end) {
  std::string s = "[a]\r\nx=1\r\n\r\n[b]\r\nx=3\r\n";
  // After the section's last non-blank line, before the blank separator.
  EXPECT_EQ(profile_with_value(s, "a", "z", "5"), "[a]\r\nx=1\r\nz=5\r\n\r\n[b]\r\nx=3\r\n");
  EXPECT_EQ(profile_with_value(s, "c", "k", "v"), s + "[c]\r\nk=v\r\n");
  // A missing last line end is supplied before anything is appended.
  EXPECT_EQ(profile_with_value("[a]\nx=1", "a", "y", "2"), "[a]\nx=1\ny=2\n");
  EXPECT_EQ(profile_with_value("[a]\nx=1", "b", "y", "2"), "[a]\nx=1\n[b]\ny=2\n");
  EXPECT_EQ(profile_with_value("[a]", "a", "y", "2"), "[a]\ny=2\n");
  // New and line-end-free files get LF.
  EXPECT_EQ(profile_with_value("", "a", "y", "2"), "[a]\ny=2\n");
  EXPECT_EQ(profile_with_value("\xEF\xBB\xBF", "a", "y", "2"), "\xEF\xBB\xBF[a]\ny=2\n");
}

TEST(profile_edit, deleting_keys_and_sections) {
  std::string s = "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n[c]\nz=4";
  EXPECT_EQ(profile_without_key(s, "a", "x"), "[a]\ny=2\n[b]\nx=3\n; b's note\n[c]\nz=4");
  EXPECT_EQ(profile_without_key(s, "c", "z"), "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n[c]\n");
  EXPECT_EQ(profile_without_key(s, "a", "none"), s);
  EXPECT_EQ(profile_without_section(s, "B"), "[a]\nx=1\ny=2\n[c]\nz=4");
  EXPECT_EQ(profile_without_section(s, "c"), "[a]\nx=1\ny=2\n[b]\nx=3\n; b's note\n");
  EXPECT_EQ(profile_without_section(s, "none"), s);
}

class profile_file : public ::testing::Test {
 protected:
  void TearDown() override {
    profile_seam::rename = ::rename;
    profile_seam::write = ::write;
  }
  scratch_dir dir;
};

TEST_F(profile_file, missing_file_reads_defaults_and_is_created_by_a_write) {
  std::string p = dir.path("ext.ini");
  EXPECT_EQ(read_profile_string(p, "c", "tab size", "2", 3), "2");
  EXPECT_TRUE(read_profile_section_names(p).empty());
  EXPECT_TRUE(delete_profile_section(p, "c"));  // nothing to delete: no file made
  EXPECT_TRUE(delete_profile_key(p, "c", "k"));
  EXPECT_EQ(dir.entry_count(), 0);
  EXPECT_TRUE(write_profile_string(p, "c", "tab size", "4"));
  EXPECT_EQ(dir.read("ext.ini"), "[c]\ntab size=4\n");
  EXPECT_EQ(read_profile_string(p, "C", "TAB SIZE", "2", 3), "4");
}

TEST_F(profile_file, write_round_trip_keeps_mode_and_leaves_no_temporary) {
  std::string p = dir.write("layout.ini", "[window]\r\nx=10\r\ny=20\r\n");
  chmod(p.c_str(), 0640);
  EXPECT_TRUE(write_profile_string(p, "window", "x", "30"));
  EXPECT_TRUE(write_profile_string(p, "window", "w", "640"));
  EXPECT_EQ(dir.read("layout.ini"), "[window]\r\nx=30\r\ny=20\r\nw=640\r\n");
  struct stat st;
  ASSERT_EQ(stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.entry_count(), 1);
  EXPECT_TRUE(delete_profile_key(p, "window", "y"));
  EXPECT_TRUE(delete_profile_section(p, "WINDOW"));
  EXPECT_EQ(dir.read("layout.ini"), "");
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

TEST_F(profile_file, writes_refuse_what_they_cannot_do_safely) {
  std::string p = dir.write("ro.ini", "[a]\nx=1\n");
  chmod(p.c_str(), 0444);  // read-only even for root: the owner's write bit counts
  EXPECT_FALSE(write_profile_string(p, "a", "x", "2"));
  EXPECT_FALSE(delete_profile_section(p, "a"));
  EXPECT_EQ(dir.read("ro.ini"), "[a]\nx=1\n");

  std::filesystem::create_directory(dir.path("dir.ini"));
  EXPECT_FALSE(write_profile_string(dir.path("dir.ini"), "a", "x", "1"));
  EXPECT_EQ(read_profile_string(dir.path("dir.ini"), "a", "x", "d", 8), "d");
  std::string plain = dir.write("plain", "");
  EXPECT_FALSE(write_profile_string(plain + "/x.ini", "a", "x", "1"));

  std::string q = dir.write("q.ini", "[a]\nx=1\n");
  EXPECT_FALSE(write_profile_string(q, "a", "x", "two\nlines"));
  EXPECT_FALSE(write_profile_string(q, "a", "x", "cr\r"));
  EXPECT_FALSE(write_profile_string(q, "a]", "x", "1"));
  EXPECT_FALSE(write_profile_string(q, "a\n[b", "x", "1"));
  EXPECT_FALSE(write_profile_string(q, "a", "x=y", "1"));
  EXPECT_FALSE(write_profile_string(q, "a", "  ", "1"));
  EXPECT_FALSE(write_profile_string(q, "a", "[b]", "1"));
  EXPECT_EQ(dir.read("q.ini"), "[a]\nx=1\n");
}

TEST_F(profile_file, a_link_is_kept_and_its_target_rewritten) {
  std::string real = dir.write("real.ini", "[a]\nx=1\n");
  std::string link = dir.path("link.ini");
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
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
