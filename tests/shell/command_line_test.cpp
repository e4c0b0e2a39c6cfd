// Tests of the command-line parser and the joining of program arguments.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <set>


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

TEST(command_line, parses_switches_files_and_command_mode) {
  const struct {
    const char* line;
    const char* base;
    bool read_only, command_mode;
    v files;
    const char *directory, *command;
  } rows[] = {
      {"/R a.txt  b.txt", "/w/", true, false, {"/w/a.txt", "/w/b.txt"}, "", ""},
      {"\tb.txt /r\t/etc/hosts short", "/w/", true, false, {"/w/b.txt", "/etc/hosts", "/w/Long"}, "", ""},
      {"a.txt", "/w/", false, false, {"/w/a.txt"}, "", ""},
      {"", "/w/", false, false, {}, "", ""},
      {"   ", "/w/", false, false, {}, "", ""},
      // Missing unquoted items are dropped, quoted ones kept and not converted.
      {"gone.txt \"gone too.txt\" a.txt \"/abs/x\" \"\"", "/w/", false, false,
       {"/w/gone too.txt", "/w/a.txt", "/abs/x"}, "", ""},
      {"\"my file.txt", "/w/", false, false, {"/w/my file.txt"}, "", ""},  // runs to the end
      {"\"short\"", "/w/", false, false, {"/w/short"}, "", ""},
      {"\"x.txt\"", "", false, false, {"x.txt"}, "", ""},  // no base: stays relative
      // Switches are exactly two characters: "/x" ignored, "/Rx" a (missing) path.
      {"/x /Rx /etc/hosts /", "/w/", false, false, {"/etc/hosts"}, "", ""},
      {"/R", "/w/", true, false, {}, "", ""},
      // /P takes a directory and the rest of the line unparsed.
      {"/P \"C:\\work\"   make all", "", false, true, {}, "C:\\work/", "make all"},
      {"/p \"/home/me/my project\"\t make  -j2 \"x y\"  ", "/w/", false, true, {},
       "/home/me/my project/", "make  -j2 \"x y\"  "},
      {"/P src/ /R a.txt", "/w/", false, true, {}, "/w/src/", "/R a.txt"},
      {"a.txt /R /P . ls", "/w/", true, true, {"/w/a.txt"}, "/w/./", "ls"},
      {"/P", "/w/", false, true, {}, "/w/", ""},  // no directory: where the program was started
      {"/P", "", false, true, {}, "", ""},        // never "/" by accident
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.line);
    command_line_items c = parse_command_line(r.line, r.base, pretend_long_form);
    EXPECT_EQ(c.read_only, r.read_only);
    EXPECT_EQ(c.command_mode, r.command_mode);
    EXPECT_EQ(c.files, r.files);
    EXPECT_EQ(c.directory, r.directory);
    EXPECT_EQ(c.command, r.command);
  }
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
