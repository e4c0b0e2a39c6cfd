// The console's pieces that need no child: cutting output into runs, the line
// limit, tag-jump lines and addresses under the cursor.
#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

#include "exec/console_trim.h"
#include "exec/output_lines.h"
#include "exec/tag_jump.h"
#include "exec/url_at.h"
#include "scratch_dir.h"
#include "text/text_fixture.h"

namespace vintorel {
namespace {

class collected : public output_events {
 public:
  std::string shown;
  std::vector<std::string> runs;
  void text(const char* run) override {
    runs.emplace_back(run);
    shown += run;
  }
  void line_feed() override { shown += "\n"; }
};

TEST(output_lines, reads_cut_anywhere_give_the_same_runs_without_cr_or_nul) {
  std::string stream("a\r\nb\0c\r\x82\r\n\x82\xA0\n\x83", 14);
  collected whole;
  output_lines one;
  one.feed(stream.data(), stream.size(), whole);
  one.finish();
  // A lead byte before a line end starts no character, nor does a last one.
  EXPECT_EQ(whole.shown, "a\nbc\n\x82\xA0\n");
  for (std::size_t cut = 1; cut < stream.size(); ++cut) {
    collected parts;
    output_lines lines;
    lines.feed(stream.data(), cut, parts);
    lines.feed(stream.data() + cut, stream.size() - cut, parts);
    lines.finish();
    EXPECT_EQ(parts.shown, whole.shown) << "cut at " << cut;
  }
}

class console_trim_test : public ::testing::Test {
 protected:
  text_document console;
  edit_context context;
  void fill(int count) {
    std::vector<byte_string> lines;
    for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
    testing::make_text(console, lines);
    console.current_line = count - 1;
    ASSERT_TRUE(console.load_current_line(8));
  }
};

TEST_F(console_trim_test, over_the_limit_keeps_the_last_three_quarters) {
  context.pane.rows = 20;
  fill(300);
  EXPECT_TRUE(trim_console(console, context, 256));
  ASSERT_EQ(console.line_count(), 192);
  byte_string first;
  ASSERT_TRUE(console.fetch_line(0, first));
  EXPECT_EQ(first, "line 108\r\n");
  EXPECT_EQ(console.current_line, 191);
  std::int64_t bytes = 0;
  for (const byte_string& l : testing::internal_lines(console)) bytes += static_cast<std::int64_t>(l.size());
  EXPECT_EQ(console.size, bytes - 1);  // the end mark does not count
  // At the limit nothing goes.
  EXPECT_FALSE(trim_console(console, context, 192));
}

TEST_F(console_trim_test, a_limit_under_four_leaves_one_empty_line) {
  fill(5);
  EXPECT_TRUE(trim_console(console, context, 3));
  ASSERT_EQ(console.line_count(), 1);
  EXPECT_EQ(testing::internal_lines(console)[0], "\x1A");
  EXPECT_EQ(console.size, 0);
}

class tag_jump_test : public ::testing::Test {
 protected:
  test_support::scratch_dir dir;
  void SetUp() override {
    dir.write("a.c", "x\n");
    std::filesystem::create_directories(dir.path("src/sub"));
    dir.write("src/sub/b.c", "y\n");
  }
  // The first tag of the line: "path:number", or "" for none.
  std::string tag(const std::string& line) {
    auto exists = [](const std::string& p) { return test_support::read_bytes(p).size() > 0; };
    std::size_t from = 0;
    tag_target t;
    if (!find_tag(line, dir.dir(), exists, from, t)) return "";
    return t.path.substr(t.path.rfind(dir.dir()) == 0 ? dir.dir().size() : 0) + ":" + std::to_string(t.line_number);
  }
};

TEST_F(tag_jump_test, compiler_and_grep_lines_name_their_file_and_line) {
  EXPECT_EQ(tag("a.c:12:int x;\r\n"), "a.c:12");
  EXPECT_EQ(tag("a.c(12) : error\r\n"), "a.c:12");
  EXPECT_EQ(tag("src/sub/b.c:7: warning\r\n"), "src/sub/b.c:7");
  EXPECT_EQ(tag("\t\"a.c\", line 3\x1A"), "a.c:3");
  EXPECT_EQ(tag(dir.dir() + "a.c:4:"), "a.c:4");
  EXPECT_EQ(tag("a.c:99999999999\r\n"), "a.c:2147483647");
}

TEST_F(tag_jump_test, names_that_are_no_file_or_lack_a_number_are_passed_over) {
  EXPECT_EQ(tag("In file main.o from a.c:5\r\n"), "a.c:5");
  EXPECT_EQ(tag("b.c sub/b.c src/sub/b.c(8)\r\n"), "src/sub/b.c:8");
  EXPECT_EQ(tag("see a.c, no line\r\n"), "");
  EXPECT_EQ(tag("\r\n"), "");
  // A double-byte character whose second byte is a separator byte stays in the name.
  dir.write("\x83\x7C.c", "z\n");  // 0x7C is '|'
  EXPECT_EQ(tag("\x83\x7C.c:2:\r\n"), "\x83\x7C.c:2");
  EXPECT_EQ(tag(std::string(300, 'q') + " a.c:1"), "a.c:1");
}

TEST(url_at, the_address_around_the_cursor_when_it_begins_with_http) {
  std::string line = "see https://example.com/a?b=1;c \"x\"";
  EXPECT_EQ(address_at(line, 10), "https://example.com/a?b=1;c");
  EXPECT_EQ(address_at(line, 4), "https://example.com/a?b=1;c");
  EXPECT_EQ(address_at(line, 3), "");    // on the blank
  EXPECT_EQ(address_at(line, 0), "");    // "see" does not begin with http
  EXPECT_EQ(address_at("HTTP://EXAMPLE.COM", 2), "");
  for (char stop : std::string("\"<>[]{}|\\^` ")) {
    std::string cut = "http://a.b/c" + std::string(1, stop) + "d";
    EXPECT_EQ(address_at(cut, 0), "http://a.b/c") << stop;
  }
  std::string long_one = "http://a/" + std::string(400, 'x');
  EXPECT_EQ(address_at(long_one, 300).size(), 255u);
  // The second byte of a double-byte character is no address byte, even when
  // it looks like a letter: "ア" is 0x83 0x41.
  EXPECT_EQ(address_at("\x83\x41http://a", 5), "http://a");
  EXPECT_EQ(address_at("\x83\x41http://a", 1), "");
}

}  // namespace
}  // namespace vintorel
