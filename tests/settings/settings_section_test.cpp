// Tests of the title checks and the one-write section replacement that the
// style and program dialogs use.
#include "settings/settings_section.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/extension_style.h"
#include "settings/program_entry.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;
using test_support::scratch_dir;

TEST(settings_section, titles_refuse_edge_blanks_and_brackets_at_character_starts) {
  for (const char* ok : {"c", "c cpp", "c/h/cpp", "\x81\x5B", "a\x83\x5D" "b", "&Grep"})
    EXPECT_TRUE(is_acceptable_title(ok)) << ok;
  for (const char* bad : {"", " c", "c ", "\tc", "c\t", "[c", "c]", "a]b", "x[y"})
    EXPECT_FALSE(is_acceptable_title(bad)) << bad;
}

TEST(settings_section, taken_titles_ignore_the_own_section_and_ascii_case) {
  scratch_dir d;
  std::string p = d.write("p.ini", "[&Grep]\nprogram=g\n[&Make]\nprogram=m\n");
  EXPECT_TRUE(section_taken(p, "&Make", -1));
  // The profile reader would put a second "&make" into "&Make".
  EXPECT_TRUE(section_taken(p, "&make", 0));
  EXPECT_FALSE(section_taken(p, "&make", 1));
  EXPECT_FALSE(section_taken(p, "&Other", -1));
  EXPECT_FALSE(section_taken(d.path("missing.ini"), "&Grep", -1));
}

TEST(settings_section, renaming_moves_the_section_to_its_sorted_place_in_one_write) {
  std::string out;
  ASSERT_TRUE(with_section_replaced("; kept\r\n[b]\r\nprogram=1\r\nextra=x\r\n[d]\r\nprogram=2\r\n", "b", "e",
                                    {{"program", "1"}, {"confirm", "-"}}, out));
  EXPECT_EQ(out, "; kept\r\n[d]\r\nprogram=2\r\n[e]\r\nprogram=1\r\nconfirm=-\r\n");
  // Keeping the title rewrites the section in place of the old one.
  ASSERT_TRUE(with_section_replaced("[a]\n[b]\nx=1\n[c]\n", "b", "b", {{"x", "2"}}, out));
  EXPECT_EQ(out, "[a]\n[b]\nx=2\n[c]\n");
  // Names and values that could not be read back are refused before anything.
  out = "untouched";
  EXPECT_FALSE(with_section_replaced("[a]\n", "", "a]b", {}, out));
  EXPECT_FALSE(with_section_replaced("[a]\n", "", "n", {{"k", "v\nw"}}, out));
  EXPECT_FALSE(with_section_replaced("[a]\n", "", "ab\x81", {}, out));
  // A section of the new name that is not the old one would take the keys.
  EXPECT_FALSE(with_section_replaced("[a]\n[B]\n", "a", "b", {}, out));
  EXPECT_EQ(out, "untouched");
}

TEST(settings_section, a_failed_write_leaves_the_file_as_it_was) {
  scratch_dir d;
  const std::string before = "[a]\ntab size=4\nauto indent=+\nkeyword=if\n[m]\ntab size=2\n";
  std::string p = d.write("ext.ini", before);
  ASSERT_EQ(chmod(p.c_str(), 0444), 0);
  EXPECT_FALSE(replace_style(p, "a", "z", 8, false, "x"));
  EXPECT_EQ(read_bytes(p), before);
  ASSERT_EQ(chmod(p.c_str(), 0644), 0);
  ASSERT_TRUE(replace_style(p, "a", "z", 8, false, ",else,if"));
  EXPECT_EQ(read_bytes(p), "[m]\ntab size=2\n[z]\ntab size=8\nauto indent=-\nkeyword=,else,if\n");
}

TEST(program_entry, entries_read_with_their_defaults_and_write_sorted) {
  scratch_dir d;
  std::string p = d.write("program.ini", "[&Grep]\nprogram=grep -n ??? *.c\nconfirm=+\n[&Make]\nconfirm=-x\n[&Z]\n");
  std::string title;
  ASSERT_TRUE(read_program_title(p, 1, title));
  EXPECT_EQ(title, "&Make");
  EXPECT_FALSE(read_program_title(p, 3, title));
  EXPECT_EQ(read_program_command(p, "&Make"), "");
  EXPECT_FALSE(read_program_confirm(p, "&Make"));
  // Missing: checked; any value not starting with "+": not.
  EXPECT_TRUE(read_program_confirm(p, "&Z"));
  ASSERT_TRUE(write_program_entry(p, "", "&Build", "make all", false));
  EXPECT_EQ(program_menu_titles(p), (std::vector<std::string>{"&Build", "&Grep", "&Make", "&Z"}));
  EXPECT_EQ(read_program_command(p, "&Build"), "make all");
  ASSERT_TRUE(delete_program_entry(p, "&Grep"));
  EXPECT_EQ(program_menu_titles(p), (std::vector<std::string>{"&Build", "&Make", "&Z"}));
}

}  // namespace
}  // namespace vintorel
