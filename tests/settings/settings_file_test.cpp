// Tests of the typed settings readers, the ordered insertion of new sections and
// the extension styles kept in such sections.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <tuple>

#include "platform/profile.h"
#include "settings/extension_style.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

TEST(settings_read, booleans_and_integers) {
  scratch_dir d;
  std::string p = d.write("v.ini",
                          "[switch]\na=oN\nb=Off\nd=+anything\ng=ONE\nh= +\ni=OFFICE\nj=\n"
                          "[value]\na=12abc\nd=123456789012345\nf=\" +7\"\nh=-2147483648\nl=-000000000123\n");
  // "g" has three letters, not "ON"; "h" is trimmed; only "OFF" is read, not
  // "OFFICE"; "j" is empty, which is not missing.
  const struct {
    const char* key;
    bool fallback, expected;
  } switches[] = {{"a", false, true}, {"b", true, false}, {"d", false, true}, {"g", true, false},
                  {"h", false, true}, {"i", true, false}, {"j", true, false}, {"missing", true, true}};
  for (const auto& r : switches) EXPECT_EQ(read_setting_bool(p, "switch", r.key, r.fallback), r.expected) << r.key;
  // Held at the limits; only 11 characters count: "l" reads as "-0000000001".
  const std::pair<const char*, int> values[] = {{"a", 12}, {"d", 2147483647}, {"f", 7}, {"h", -2147483647 - 1},
                                                {"l", -1},  {"none", 5}};
  for (const auto& [key, expected] : values) EXPECT_EQ(read_setting_int(p, "value", key, 5), expected) << key;
}

TEST(settings_sections, ordered_insertion_places_new_sections) {
  const struct {
    std::string before, name, after;
  } rows[] = {
      {"[c]\ntab size=4\n[txt]\nkeyword=a\n", "m", "[c]\ntab size=4\n[m]\n[txt]\nkeyword=a\n"},
      {"[c]\nkeyword=if,else", "zz", "[c]\nkeyword=if,else\n[zz]\n"},  // never joins a last line
      {"[c/h]\n", "c", "[c]\n[c/h]\n"},  // compared up to the first "]"
      // A double-byte character counts as its 16-bit code: above any single byte.
      {"[\x81\x40]\n", "\xB1", "[\xB1]\n[\x81\x40]\n"},
  };
  for (const auto& r : rows) EXPECT_EQ(with_section_ordered(r.before, r.name), r.after) << r.before;
}

TEST(extension_style, a_pane_gets_the_style_of_its_extension_and_a_failed_write_changes_nothing) {
  scratch_dir d;
  std::string ext = d.path("ext.ini");
  ASSERT_TRUE(write_style(ext, "txt", 0, false, "a,,b,"));
  ASSERT_TRUE(write_style(ext, "c/h/cpp", 4, true, "if,else"));
  ASSERT_TRUE(write_style(ext, "big", 1000, false, ""));
  const std::string none(2, '\0');
  const struct {
    const char* name;
    int tab_size, auto_indent;
    std::string keywords;
  } rows[] = {
      {"/src/main.CPP", 4, 1, std::string("if\0else\0\0", 9)},
      {"readme.txt", 1, 0, std::string("a\0\0b\0\0\0", 7)},  // 0 would stall the columns
      {"x.big", 99, 0, none},
      // No match: the main defaults.
      {"main.cp", 6, 0, none}, {"notes.c/", 6, 0, none}, {"a.", 6, 0, none},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    pane_style style;
    style.tab_size = 77;
    style.auto_indent = 1;
    style.keywords = "junk";
    load_pane_style(style, r.name, ext, 6);
    EXPECT_EQ(std::tuple(style.tab_size, style.auto_indent, style.keywords),
              std::tuple(r.tab_size, r.auto_indent, r.keywords));
  }
  EXPECT_EQ(style_menu_titles(ext), (std::vector<std::string>{"big", "c/h/cpp", "txt"}));
  const std::string styles = d.read("ext.ini");
  EXPECT_FALSE(write_style(ext, "c/h/cpp", 2, false, "line\nbreak"));
  EXPECT_FALSE(write_style(ext, "new", 2, false, "line\rbreak"));
  EXPECT_EQ(d.read("ext.ini"), styles);  // neither half written
  std::string piece(20000, 'k');
  EXPECT_EQ(join_keywords({piece, piece}), piece);  // the second would pass 32767 bytes
  EXPECT_EQ(join_keywords({piece, std::string(12766, 'x')}).size(), 32767u);
  EXPECT_FALSE(ensure_section_ordered(ext, "bad]name"));

  // A new style that cannot be put in place leaves the file as it was.
  const std::string before = d.read("ext.ini");
  profile_seam::rename = [](const char*, const char*) {
    errno = EIO;
    return -1;
  };
  EXPECT_FALSE(write_style(ext, "m", 2, false, ""));
  profile_seam::rename = ::rename;
  EXPECT_EQ(d.read("ext.ini"), before);
  EXPECT_EQ(d.entry_count(), 1);
}

}  // namespace
}  // namespace vintorel
