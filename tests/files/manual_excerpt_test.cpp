// Cutting help excerpts out of the manual: ranges, line ends, short files and
// the room limit.
#include <gtest/gtest.h>

#include "files/manual_excerpt.h"

namespace vintorel {
namespace {

TEST(manual_excerpt, a_range_comes_out_with_cr_lf_whatever_the_file_used) {
  EXPECT_EQ(manual_excerpt("one\ntwo\r\nthree\nfour\n", 2, 2), "two\r\nthree\r\n");
  EXPECT_EQ(manual_excerpt("one\ntwo\n", 1, 1), "one\r\n");
  // The last line may lack its line end.
  EXPECT_EQ(manual_excerpt("one\ntwo", 2, 1), "two");
  EXPECT_EQ(manual_excerpt("a\n\nb\n", 1, 3), "a\r\n\r\nb\r\n");
}

TEST(manual_excerpt, a_file_shorter_than_the_range_gives_nothing) {
  EXPECT_EQ(manual_excerpt("one\ntwo\n", 2, 2), "");
  EXPECT_EQ(manual_excerpt("one\ntwo\n", 3, 1), "");
  EXPECT_EQ(manual_excerpt("one\ntwo\n", 9, 1), "");
  EXPECT_EQ(manual_excerpt("", 1, 1), "");
  EXPECT_EQ(manual_excerpt("one\n", 0, 1), "");
  EXPECT_EQ(manual_excerpt("one\n", 1, 0), "");
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
