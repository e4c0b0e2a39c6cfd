// Tests of the command-line parser and the joining of program arguments.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <set>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using v = std::vector<std::string>;

// A pretend file system: these paths exist; the long form of "/w/short" is "/w/Long".
bool pretend_long_form(const std::string& path, std::string& out) {
  static const std::set<std::string> existing = {"/w/a.txt", "/w/b.txt", "/etc/hosts",
                                                 "/w/my file.txt"};
  if (path == "/w/short") {
    out = "/w/Long";
    return true;
  }
  if (!existing.count(path)) return false;
  out = path;
  return true;
}

command_line_items parse(std::string_view line, const std::string& base = "/w/") {
  return parse_command_line(line, base, pretend_long_form);
}

TEST(command_line, files_and_the_read_only_switch) {
  command_line_items c = parse("/R a.txt  b.txt");
  EXPECT_TRUE(c.read_only);
  EXPECT_FALSE(c.command_mode);
  EXPECT_EQ(c.files, (v{"/w/a.txt", "/w/b.txt"}));

  c = parse("\tb.txt /r\t/etc/hosts short");
  EXPECT_TRUE(c.read_only);
  EXPECT_EQ(c.files, (v{"/w/b.txt", "/etc/hosts", "/w/Long"}));

  EXPECT_FALSE(parse("a.txt").read_only);
  EXPECT_TRUE(parse("").files.empty());
  EXPECT_TRUE(parse("   ").files.empty());
}

TEST(command_line, missing_unquoted_items_are_dropped_quoted_ones_kept) {
  command_line_items c = parse("gone.txt \"gone too.txt\" a.txt \"/abs/x\" \"\"");
  EXPECT_EQ(c.files, (v{"/w/gone too.txt", "/w/a.txt", "/abs/x"}));
  // An unterminated quote runs to the end of the line.
  EXPECT_EQ(parse("\"my file.txt").files, v{"/w/my file.txt"});
  // Quoted items are not converted.
  EXPECT_EQ(parse("\"short\"").files, v{"/w/short"});
  // Without a base directory relative items stay relative.
  EXPECT_EQ(parse("\"x.txt\"", "").files, v{"x.txt"});
}

TEST(command_line, switches_are_exactly_two_characters) {
  command_line_items c = parse("/x /Rx /etc/hosts /");
  EXPECT_FALSE(c.read_only);  // "/x" ignored; "/Rx" is a (missing) path
  EXPECT_FALSE(c.command_mode);
  EXPECT_EQ(c.files, v{"/etc/hosts"});
  c = parse("/R");
  EXPECT_TRUE(c.read_only);
  EXPECT_TRUE(c.files.empty());
}

TEST(command_line, command_mode_takes_a_directory_and_the_rest) {
  command_line_items c = parse("/P \"C:\\work\"   make all", "");
  EXPECT_TRUE(c.command_mode);
  EXPECT_EQ(c.directory, "C:\\work/");
  EXPECT_EQ(c.command, "make all");

  c = parse("/p \"/home/me/my project\"\t make  -j2 \"x y\"  ");
  EXPECT_EQ(c.directory, "/home/me/my project/");
  EXPECT_EQ(c.command, "make  -j2 \"x y\"  ");

  c = parse("/P src/ /R a.txt");
  EXPECT_EQ(c.directory, "/w/src/");
  EXPECT_EQ(c.command, "/R a.txt");  // nothing after the directory is parsed
  EXPECT_FALSE(c.read_only);
  EXPECT_TRUE(c.files.empty());

  c = parse("a.txt /R /P . ls");
  EXPECT_EQ(c.files, v{"/w/a.txt"});
  EXPECT_TRUE(c.read_only);
  EXPECT_EQ(c.directory, "/w/./");
  EXPECT_EQ(c.command, "ls");

  c = parse("/P");
  EXPECT_TRUE(c.command_mode);
  EXPECT_EQ(c.directory, "/w/");  // no directory: where the program was started
  EXPECT_EQ(c.command, "");
  c = parse("/P", "");
  EXPECT_EQ(c.directory, "");  // never "/" by accident
}

TEST(command_line, real_file_system) {
  test_support::scratch_dir d;
  d.write("here.txt", "x");
  command_line_items c = parse_command_line("here.txt missing.txt \"missing.txt\"", d.dir());
  EXPECT_EQ(c.files, (v{d.path("here.txt"), d.path("missing.txt")}));
}

TEST(command_line, joined_arguments_parse_back) {
  const char* argv[] = {"vintorel", "/R", "my file.txt", "plain.txt", "", "\"odd", "a\"b c"};
  std::string line = join_arguments(7, argv);
  EXPECT_EQ(line, "/R \"my file.txt\" plain.txt \"\"");
  command_line_items c = parse_command_line(line, "/w/", pretend_long_form);
  EXPECT_TRUE(c.read_only);
  EXPECT_EQ(c.files, v{"/w/my file.txt"});

  const char* cmd[] = {"vintorel", "/P", "/home/me/my dir", "grep", "-n", "it's here", "*.c"};
  line = join_arguments(7, cmd);
  EXPECT_EQ(line, "/P \"/home/me/my dir\" grep -n 'it'\\''s here' '*.c'");
  c = parse_command_line(line, "/w/", pretend_long_form);
  EXPECT_EQ(c.directory, "/home/me/my dir/");
  EXPECT_EQ(c.command, "grep -n 'it'\\''s here' '*.c'");
  EXPECT_EQ(join_arguments(1, argv), "");
}

}  // namespace
}  // namespace vintorel
