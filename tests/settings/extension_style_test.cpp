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

TEST(extension_style, a_pane_gets_the_style_of_its_extension) {
  scratch_dir d;
  std::string ext = d.write("ext.ini", sample);
  const std::string none(2, '\0');
  const struct {
    const char* name;
    int tab_size, auto_indent;
    std::string keywords;
  } rows[] = {
      {"/src/main.CPP", 4, 1, std::string("if\0else\0while\0\0", 15)},
      {"x.h", 4, 1, std::string("if\0else\0while\0\0", 15)},
      {"GNUmakefile.mk", 2, 0, std::string("all\0\0", 5)},  // the style's own default tab size
      {"readme.txt", 1, 0, std::string("a\0\0b\0\0\0", 7)},  // 0 would stall the columns
      {"x.big", 99, 0, none},
      // No match: the main defaults.
      {"main.cp", 6, 0, none}, {"Makefile", 6, 0, none}, {"notes.c/", 6, 0, none},
      {"archive.cppx", 6, 0, none}, {"a.", 6, 0, none},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    pane_style style;
    style.tab_size = 77;
    style.auto_indent = 1;
    style.keywords = "junk";
    load_pane_style(style, r.name, ext, 6);
    EXPECT_EQ(style.tab_size, r.tab_size);
    EXPECT_EQ(style.auto_indent, r.auto_indent);
    EXPECT_EQ(style.keywords, r.keywords);
  }
  pane_style style;
  load_pane_style(style, "a.c", d.path("missing.ini"), 8);
  EXPECT_EQ(style.tab_size, 8);
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
