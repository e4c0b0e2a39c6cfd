// The help window's excerpt of the manual: whole lines with CR LF, or nothing.
#include <gtest/gtest.h>

#include "files/manual_excerpt.h"

namespace vintorel {
namespace {

TEST(manual_excerpt, whole_lines_or_nothing) {
  const std::string manual = "one\ntwo\r\nthree\nfour";
  const std::string long_line(manual_excerpt_room - 2, 'x');  // with CR LF and the terminator: one byte too many
  const struct {
    std::string contents;
    int first, count;
    byte_string expected;
  } rows[] = {
      {manual, 2, 2, "two\r\nthree\r\n"},
      {manual, 3, 2, "three\r\nfour"},  // a last line without a line end
      {manual, 3, 3, ""},               // the file ends early
      {manual, 9, 1, ""},
      {manual, 0, 1, ""},
      {manual, 1, 0, ""},
      {long_line.substr(1) + "\n", 1, 1, long_line.substr(1) + "\r\n"},
      {long_line + "\n", 1, 1, ""},  // does not fit
  };
  for (const auto& r : rows)
    EXPECT_TRUE(manual_excerpt(r.contents, r.first, r.count) == r.expected)
        << r.contents.size() << " bytes, from " << r.first << " for " << r.count;
  EXPECT_EQ(read_manual_excerpt("/nonexistent/vintorel.txt", 1, 1), "");
}

}  // namespace
}  // namespace vintorel
