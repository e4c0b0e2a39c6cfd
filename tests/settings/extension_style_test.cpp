// Tests of the extension styles: loading a pane's style for a name, the title
// queries, and writing and deleting styles.
#include "settings/extension_style.h"

#include <gtest/gtest.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

const char* const sample =
    "[c/h/cpp]\r\n"
    "tab size=4\r\n"
    "auto indent=+\r\n"
    "keyword=if,else,while\r\n"
    "[mk]\r\n"
    "keyword=all\r\n"
    "[txt]\r\n"
    "tab size=0\r\n"
    "auto indent=-\r\n"
    "keyword=a,,b,\r\n"
    "[big]\r\n"
    "tab size=1000\r\n";

TEST(extension_style, a_matching_section_gives_its_style) {
  scratch_dir d;
  std::string ext = d.write("ext.ini", sample);
  pane_style style;
  load_pane_style(style, "/src/main.CPP", ext, 8);
  EXPECT_EQ(style.tab_size, 4);
  EXPECT_EQ(style.auto_indent, 1);
  EXPECT_EQ(style.keywords, std::string("if\0else\0while\0\0", 15));

  load_pane_style(style, "x.h", ext, 8);
  EXPECT_EQ(style.tab_size, 4);
}

TEST(extension_style, no_match_gives_the_main_defaults) {
  scratch_dir d;
  std::string ext = d.write("ext.ini", sample);
  pane_style style;
  for (const char* name : {"main.cp", "Makefile", "notes.c/", "archive.cppx", "a."}) {
    SCOPED_TRACE(name);
    style.tab_size = 99;
    style.auto_indent = 1;
    style.keywords = "junk";
    load_pane_style(style, name, ext, 6);
    EXPECT_EQ(style.tab_size, 6);
    EXPECT_EQ(style.auto_indent, 0);
    EXPECT_EQ(style.keywords, std::string(2, '\0'));
  }
  load_pane_style(style, "a.c", d.path("missing.ini"), 8);
  EXPECT_EQ(style.tab_size, 8);
}

TEST(extension_style, missing_keys_and_hand_edited_values) {
  scratch_dir d;
  std::string ext = d.write("ext.ini", sample);
  pane_style style;
  load_pane_style(style, "GNUmakefile.mk", ext, 8);
  EXPECT_EQ(style.tab_size, 2);  // the style's own default, not the main setting
  EXPECT_EQ(style.auto_indent, 0);
  EXPECT_EQ(style.keywords, std::string("all\0\0", 5));

  load_pane_style(style, "readme.txt", ext, 8);
  EXPECT_EQ(style.tab_size, 1);  // 0 would stall the column arithmetic
  EXPECT_EQ(style.keywords, std::string("a\0\0b\0\0\0", 7));  // kept byte for byte

  load_pane_style(style, "x.big", ext, 8);
  EXPECT_EQ(style.tab_size, 99);
}

TEST(extension_style, titles_and_existence) {
  scratch_dir d;
  std::string ext = d.write("ext.ini", sample);
  EXPECT_TRUE(style_exists(ext, "c/h/cpp"));
  EXPECT_FALSE(style_exists(ext, "C/H/CPP"));
  EXPECT_FALSE(style_exists(ext, "c"));
  std::string title;
  ASSERT_TRUE(read_style_title(ext, 1, title));
  EXPECT_EQ(title, "mk");
  EXPECT_FALSE(read_style_title(ext, 4, title));
  std::vector<std::string> menu = style_menu_titles(ext);
  ASSERT_EQ(menu.size(), 4u);
  EXPECT_EQ(menu[3], "big");

  std::string long_title(200, 'e');
  std::string long_ext = d.write("long.ini", "[" + long_title + "]\n");
  EXPECT_EQ(style_menu_titles(long_ext)[0], std::string(127, 'e'));
  ASSERT_TRUE(read_style_title(long_ext, 0, title));
  EXPECT_EQ(title, long_title);
}

TEST(extension_style, write_and_delete_keep_the_sections_sorted) {
  scratch_dir d;
  std::string ext = d.path("ext.ini");
  EXPECT_TRUE(write_style(ext, "txt", 8, false, ""));
  EXPECT_TRUE(write_style(ext, "c", 4, true, "if,else"));
  EXPECT_TRUE(write_style(ext, "c cpp", 2, false, "a,,b"));
  EXPECT_EQ(d.read("ext.ini"),
            "[c]\ntab size=4\nauto indent=+\nkeyword=if,else\n"
            "[c cpp]\ntab size=2\nauto indent=-\nkeyword=a,,b\n"
            "[txt]\ntab size=8\nauto indent=-\nkeyword=\n");
  // Rewriting an existing style changes its values in place.
  EXPECT_TRUE(write_style(ext, "c", 3, false, "for"));
  pane_style style;
  load_pane_style(style, "x.c", ext, 8);
  EXPECT_EQ(style.tab_size, 3);
  EXPECT_EQ(style.keywords, std::string("for\0\0", 5));
  EXPECT_TRUE(delete_style(ext, "c cpp"));
  EXPECT_FALSE(style_exists(ext, "c cpp"));
  EXPECT_TRUE(style_exists(ext, "txt"));
  EXPECT_FALSE(write_style(ext, "bad]", 2, false, ""));
  EXPECT_FALSE(write_style(ext, "c", 2, false, "line\nbreak"));
}

TEST(extension_style, keyword_lists) {
  using v = std::vector<std::string>;
  EXPECT_EQ(split_keywords("a,,b,"), (v{"a", "", "b"}));
  EXPECT_EQ(split_keywords(""), v{});
  EXPECT_EQ(split_keywords(","), v{""});
  EXPECT_EQ(split_keywords("one"), v{"one"});
  EXPECT_EQ(join_keywords({"a", "", "b"}), "a,,b");
  EXPECT_EQ(join_keywords({}), "");
  std::string piece(20000, 'k');
  EXPECT_EQ(join_keywords({piece, piece}), piece);  // the second would pass 32767 bytes
  EXPECT_EQ(join_keywords({piece, std::string(12766, 'x')}).size(), 32767u);
}

}  // namespace
}  // namespace vintorel
