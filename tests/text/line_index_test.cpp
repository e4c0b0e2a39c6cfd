// Tests of the line index: building, editing in the middle, offsets past 4 GiB.
#include "text/line_index.h"

#include <gtest/gtest.h>

namespace vintorel {
namespace {

// Three lines as loading builds them from "a\r\nb\n" + "c": two file lines and
// the in-memory last line.
void build_small(line_index& index) {
  index.begin_file_lines(0);
  ASSERT_TRUE(index.append_file_line(3));
  ASSERT_TRUE(index.append_file_line(2));
  ASSERT_TRUE(index.append_memory_line("c\x1A"));
}

TEST(line_index, erasing_a_run_of_lines_keeps_those_around_it) {
  line_index index;
  index.begin_file_lines(0);
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(index.append_file_line(10));  // at 0, 10, ... 50
  ASSERT_TRUE(index.append_memory_line("\x1A"));
  ASSERT_TRUE(index.insert(2, byte_string("m1\r\n")));
  ASSERT_TRUE(index.insert(4, byte_string("m2\r\n")));
  // f0 f1 m1 f2 m2 f3 f4 f5 end
  index.erase(1, 5);  // f1 m1 f2 m2 f3: file and memory lines alike
  EXPECT_TRUE(index.check());
  ASSERT_EQ(index.size(), 4);
  EXPECT_EQ(index.offset(0), 0u);
  EXPECT_EQ(index.offset(1), 40u);
  EXPECT_EQ(index.offset(2), 50u);
  EXPECT_EQ(index.text(3), "\x1A");

  index.erase(2, 100);  // a count beyond the end stops there
  EXPECT_TRUE(index.check());
  ASSERT_EQ(index.size(), 2);
  EXPECT_EQ(index.offset(1), 40u);

  index.erase(0, 0);
  index.erase(0, -3);
  index.erase(2, 1);
  index.erase(-1, 2);
  EXPECT_EQ(index.size(), 2);
  index.erase(0, 2);
  EXPECT_TRUE(index.empty());
  EXPECT_TRUE(index.check());
}

TEST(line_index, out_of_range_requests_change_nothing) {
  line_index index;
  build_small(index);
  EXPECT_FALSE(index.insert(-1, byte_string("x")));
  EXPECT_FALSE(index.insert(4, byte_string("x")));
  EXPECT_FALSE(index.insert(0, std::unique_ptr<line_record>()));
  EXPECT_FALSE(index.replace(3, std::make_unique<line_record>()));
  index.erase(3);
  index.erase(-1);
  EXPECT_EQ(index.size(), 3);
  EXPECT_EQ(index.offset(3), in_memory);
  EXPECT_EQ(index.length(-1), 0u);
  EXPECT_EQ(index.text(7), "");
  EXPECT_TRUE(index.check());
}

TEST(line_index, replace_puts_a_memory_line_in_place_of_a_file_line) {
  line_index index;
  build_small(index);
  auto record = std::make_unique<line_record>();
  record->text = "edited\r\n";
  record->length = 8;
  ASSERT_TRUE(index.replace(1, std::move(record)));
  EXPECT_TRUE(index.check());
  EXPECT_TRUE(index.is_in_memory(1));
  EXPECT_EQ(index.text(1), "edited\r\n");
  EXPECT_EQ(index.offset(0), 0u);

  // And a memory line by another memory line (the old record is released).
  ASSERT_TRUE(index.replace(1, std::make_unique<line_record>(line_record{in_memory, 2, "x\n"})));
  EXPECT_TRUE(index.check());
  EXPECT_EQ(index.text(1), "x\n");
}

TEST(line_index, check_finds_a_memory_length_that_does_not_match_its_text) {
  line_index index;
  build_small(index);
  ASSERT_TRUE(index.insert(0, std::make_unique<line_record>(line_record{in_memory, 9, "abc"})));
  EXPECT_FALSE(index.check());
}

TEST(line_index, offsets_beyond_four_gibibytes) {
  line_index index;
  index.begin_file_lines(0);
  ASSERT_TRUE(index.append_file_line(UINT32_MAX));
  ASSERT_TRUE(index.append_file_line(UINT32_MAX));
  ASSERT_TRUE(index.append_file_line(10));
  ASSERT_TRUE(index.append_memory_line("\x1A"));
  EXPECT_TRUE(index.check());
  EXPECT_EQ(index.offset(1), std::uint64_t{UINT32_MAX});
  EXPECT_EQ(index.offset(2), 2ull * UINT32_MAX);
  EXPECT_EQ(index.length(2), 10u);
  index.erase(0);
  EXPECT_EQ(index.offset(1), 2ull * UINT32_MAX);
  EXPECT_TRUE(index.check());
}

TEST(line_index, about_sixteen_bytes_per_file_line) {
  line_index index;
  index.begin_file_lines(0);
  const int count = 100000;
  for (int i = 0; i < count; ++i) ASSERT_TRUE(index.append_file_line(100));
  ASSERT_TRUE(index.append_memory_line("\x1A"));
  index.compact();
  EXPECT_TRUE(index.check());
  double per_line = static_cast<double>(index.memory_bytes()) / count;
  EXPECT_LT(per_line, 17.0);
  EXPECT_GE(per_line, 16.0);
}

}  // namespace
}  // namespace vintorel
