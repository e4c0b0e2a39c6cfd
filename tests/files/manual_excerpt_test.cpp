// Cutting help excerpts out of the manual: ranges, line ends, short files and
// the room limit.
#include <gtest/gtest.h>

#include "files/manual_excerpt.h"

namespace vintorel {
namespace {

TEST(manual_excerpt, ranges_come_out_with_cr_lf_or_nothing_when_short) {
  const struct {
    std::string file;
    int first, count;
    std::string out;
  } cases[] = {
      {"one\ntwo\r\nthree\nfour\n", 2, 2, "two\r\nthree\r\n"},
      {"one\ntwo", 2, 1, "two"},  // the last line may lack its line end
      {"a\n\nb\n", 1, 3, "a\r\n\r\nb\r\n"},
      {"one\ntwo\n", 2, 2, ""},  // a file shorter than the range gives nothing
      {"one\ntwo\n", 9, 1, ""},
      {"", 1, 1, ""},
      {"one\n", 0, 1, ""},
      {"one\n", 1, 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(manual_excerpt(c.file, c.first, c.count), c.out) << c.file;
}

TEST(manual_excerpt, an_excerpt_that_does_not_fit_gives_nothing) {
  std::string line(2000, 'x');
  std::string file = line + "\n" + line + "\n" + line + "\n";
  EXPECT_EQ(manual_excerpt(file, 1, 2).size(), 4004u);
  EXPECT_EQ(manual_excerpt(file, 1, 3), "");
  std::string exact(4096 - 3, 'y');
  EXPECT_EQ(manual_excerpt(exact + "\n", 1, 1).size(), 4095u);
  EXPECT_EQ(manual_excerpt(exact + "y\n", 1, 1), "");
}

TEST(manual_excerpt, a_missing_file_reads_as_nothing) {
  EXPECT_EQ(read_manual_excerpt("/nonexistent/vintorel.txt", 1, 1), "");
  EXPECT_EQ(read_manual_excerpt("/", 1, 1), "");
}

}  // namespace
}  // namespace vintorel
