// Tests of the typed settings readers and writers, the section queries and the
// ordered insertion of new sections.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "platform/profile.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

TEST(settings_read, booleans) {
  scratch_dir d;
  std::string p = d.write("v.ini",
                          "[switch]\na=oN\nb=Off\nc=no\nd=+anything\ne=yes\nf=-\ng=ONE\nh= +\n"
                          "i=OFFICE\nj=\n");
  // {key, fallback, expected}: "g" has three letters, not "ON"; "h" is trimmed; only "OFF"
  // is read, not "OFFICE"; "j" is empty, which is not missing.
  const struct {
    const char* key;
    bool fallback, expected;
  } rows[] = {{"a", false, true}, {"b", true, false}, {"c", true, false}, {"d", false, true},
              {"e", true, false}, {"f", true, false}, {"g", true, false}, {"h", false, true},
              {"i", true, false}, {"j", true, false}, {"missing", true, true}, {"missing", false, false}};
  for (const auto& r : rows) EXPECT_EQ(read_setting_bool(p, "switch", r.key, r.fallback), r.expected) << r.key;
  EXPECT_TRUE(read_setting_bool(d.path("none.ini"), "switch", "a", true));
}

TEST(settings_read, integers) {
  scratch_dir d;
  std::string p = d.write("v.ini",
                          "[value]\na=12abc\nb=abc\nc=12345678901\nd=123456789012345\n"
                          "e=-42\nf=\" +7\"\ng=99999999999\nh=-2147483648\nk=100000000009\n"
                          "l=-000000000123\n");
  // "c" has 11 digits, held at the limit. Only 11 characters count: the twelfth digit
  // of "k" and "l" is cut before conversion ("l" reads as "-0000000001").
  const struct {
    const char* key;
    int expected;
  } rows[] = {{"a", 12}, {"b", 0}, {"c", 2147483647}, {"d", 2147483647}, {"e", -42}, {"f", 7},
              {"h", -2147483647 - 1}, {"k", 2147483647}, {"l", -1}};
  for (const auto& r : rows) EXPECT_EQ(read_setting_int(p, "value", r.key, 5), r.expected) << r.key;
  EXPECT_EQ(read_setting_int(p, "value", "missing", -3), -3);
  EXPECT_EQ(parse_decimal("1234567890"), 1234567890);
  EXPECT_EQ(parse_decimal(" \t-0012x"), -12);
  EXPECT_EQ(parse_decimal("+"), 0);
  EXPECT_EQ(parse_decimal(""), 0);
}

TEST(settings_write, typed_writers_round_trip) {
  scratch_dir d;
  std::string p = d.path("program.ini");
  EXPECT_TRUE(write_setting_string(p, "grep", "program", "grep -n ??? *.c", false));
  EXPECT_TRUE(write_setting_bool(p, "grep", "confirm", true, false));
  EXPECT_TRUE(write_setting_int(p, "grep", "count", -12, false));
  EXPECT_EQ(d.read("program.ini"), "[grep]\nprogram=grep -n ??? *.c\nconfirm=+\ncount=-12\n");
  EXPECT_TRUE(read_setting_bool(p, "grep", "confirm", false));
  EXPECT_EQ(read_setting_int(p, "grep", "count", 0), -12);
  EXPECT_TRUE(delete_setting_section(p, "grep"));
  EXPECT_EQ(d.read("program.ini"), "");
}

TEST(settings_sections, queries_compare_case_sensitively) {
  scratch_dir d;
  std::string p = d.write("ext.ini",
                          "[c/h/cpp]\r\ntab size=4\r\n[txt]\r\n[a]b]\r\n[open\r\n x\r\n [indented]\n");
  EXPECT_TRUE(section_exists(p, "c/h/cpp"));
  EXPECT_TRUE(section_exists(p, "txt"));
  EXPECT_FALSE(section_exists(p, "TXT"));
  EXPECT_TRUE(section_exists(p, "a]b"));  // cut at the last "]"
  EXPECT_TRUE(section_exists(p, "open"));
  EXPECT_FALSE(section_exists(p, "indented"));  // a section line starts with "["
  EXPECT_FALSE(section_exists(d.path("none.ini"), "txt"));

  std::string name;
  ASSERT_TRUE(section_name(p, 0, name));
  EXPECT_EQ(name, "c/h/cpp");
  ASSERT_TRUE(section_name(p, 2, name));
  EXPECT_EQ(name, "a]b");
  ASSERT_TRUE(section_name(p, 3, name));
  EXPECT_EQ(name, "open");  // no "]": the rest of the line, without its line end
  EXPECT_FALSE(section_name(p, 4, name));
  EXPECT_FALSE(section_name(p, -1, name));
  ASSERT_TRUE(section_name(p, 0, name, 4));
  EXPECT_EQ(name, "c/h");
  EXPECT_EQ(section_names(p).size(), 4u);
}

TEST(settings_sections, multibyte_order) {
  EXPECT_LT(compare_multibyte("B", "a"), 0);  // byte order: capitals first
  EXPECT_LT(compare_multibyte("[c", "[c/h"), 0);
  EXPECT_EQ(compare_multibyte("\x83\x41", "\x83\x41"), 0);
  // A double-byte character counts as its 16-bit code: above any single byte.
  EXPECT_GT(compare_multibyte("\x81\x40", "\xB1"), 0);
  EXPECT_LT(compare_multibyte("\xB1", "\x81\x40"), 0);
}

TEST(settings_sections, ordered_insertion_places_new_sections) {
  // A long line is one line: a "[" deep inside it is no section header.
  const std::string long_value = "[c]\nkeyword=" + std::string(300, 'x') + "[z" + std::string(40, 'y') + "\n";
  const struct {
    std::string before, name, after;
  } rows[] = {
      {"[c]\ntab size=4\n[txt]\nkeyword=a\n", "m", "[c]\ntab size=4\n[m]\n[txt]\nkeyword=a\n"},
      {"[c]\r\n[txt]\r\n", "zz", "[c]\r\n[txt]\r\n[zz]\r\n"},
      {"[c]\n[txt]\n", "B", "[B]\n[c]\n[txt]\n"},
      {"[c]\nkeyword=if,else", "zz", "[c]\nkeyword=if,else\n[zz]\n"},  // never joins a last line
      {"", "a", "[a]\n"},
      {long_value, "d", long_value + "[d]\n"},
      {"[c/h]\n", "c", "[c]\n[c/h]\n"},  // compared up to the first "]"
  };
  for (const auto& r : rows) EXPECT_EQ(with_section_ordered(r.before, r.name), r.after) << r.before;
}

TEST(settings_sections, ordered_write_creates_and_inserts) {
  scratch_dir d;
  std::string p = d.path("ext.ini");
  EXPECT_TRUE(write_setting_int(p, "txt", "tab size", 8, true));
  EXPECT_EQ(d.read("ext.ini"), "[txt]\ntab size=8\n");
  EXPECT_TRUE(write_setting_int(p, "c", "tab size", 4, true));
  EXPECT_TRUE(write_setting_int(p, "m", "tab size", 2, true));
  EXPECT_TRUE(write_setting_int(p, "zz", "tab size", 3, true));
  EXPECT_TRUE(write_setting_int(p, "m", "tab size", 5, true));  // exists: rewritten in place
  EXPECT_EQ(d.read("ext.ini"),
            "[c]\ntab size=4\n[m]\ntab size=5\n[txt]\ntab size=8\n[zz]\ntab size=3\n");
  EXPECT_FALSE(ensure_section_ordered(p, "bad]name"));
  EXPECT_FALSE(ensure_section_ordered(p, "two\nlines"));
}

TEST(settings_sections, a_failed_insertion_leaves_the_file_untouched) {
  scratch_dir d;
  const std::string original = "[c]\ntab size=4\n[txt]\n";
  std::string p = d.write("ext.ini", original);
  profile_seam::rename = [](const char*, const char*) {
    errno = EIO;
    return -1;
  };
  EXPECT_FALSE(write_setting_int(p, "m", "tab size", 2, true));
  profile_seam::rename = ::rename;
  EXPECT_EQ(d.read("ext.ini"), original);
  EXPECT_EQ(d.entry_count(), 1);

  chmod(p.c_str(), 0444);
  EXPECT_FALSE(write_setting_int(p, "m", "tab size", 2, true));
  EXPECT_EQ(d.read("ext.ini"), original);
}

}  // namespace
}  // namespace vintorel
