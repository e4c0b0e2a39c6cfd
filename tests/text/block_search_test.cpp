// The search by file pieces against the line-by-line search over random
// Shift_JIS files: short and long lines with double-byte characters whose
// second byte looks like a letter, mixed line ends, edited, inserted and
// removed lines breaking the runs of file lines, and patterns cut from the
// text (half characters included), with and without word search.
#include "text/block_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/load_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

// With `giant` set, one line in a thousand is longer than a piece read at once.
byte_string random_file(std::mt19937& random, std::size_t lines, std::size_t longest, bool giant) {
  static const char* const pieces[] = {"a", "ab", "_", " ", "1", "\x82\x61", "\x83\x41", "\x88\x9F",
                                       "\x95\x5C", "\xB1", "\x81\x40", "b\x82", "\xE0\x61", "A"};
  static const char* const ends[] = {"\r\n", "\n", "\r"};
  byte_string text;
  for (std::size_t i = 0; i < lines; ++i) {
    std::size_t length = random() % 8 == 0 ? random() % longest : random() % 12;
    if (giant && random() % 1000 == 0) length = 200000;
    for (std::size_t k = 0; k < length; ++k) text += pieces[random() % std::size(pieces)];
    text += ends[random() % 10 == 0 ? random() % 3 : 0];
  }
  return text;
}

byte_string random_pattern(std::mt19937& random, text_document& document) {
  byte_string line;
  for (int tries = 0; tries < 10; ++tries) {
    if (!document.fetch_line(static_cast<std::int32_t>(random() % static_cast<unsigned>(document.line_count())), line))
      continue;
    std::size_t end = content_end(line);
    if (end == 0) continue;
    std::size_t at = random() % end;
    std::size_t length = 1 + random() % std::min<std::size_t>(4, end - at);
    return line.substr(at, length);
  }
  return "ab";
}

TEST(block_search, agrees_with_the_line_by_line_search) {
  scratch_dir dir;
  int found_forward = 0, found_backward = 0;
  for (unsigned seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    // Some files span many pieces, with lines longer than a piece.
    bool big = seed % 5 == 0;
    byte_string bytes = random_file(random, big ? 4000 : 300, big ? 3000 : 30, big);
    ASSERT_TRUE(write_bytes(dir / "a.txt", bytes));
    text_document document;
    load_text_file(document, dir / "a.txt", false, 0, 0, 0, 0, shift_jis, seed % 3 == 0 ? lf : crlf);
    ASSERT_NE(document.state, failed_state);
    for (int edit = 0; edit < 20; ++edit) {
      auto at = static_cast<std::int32_t>(random() % static_cast<unsigned>(document.line_count()));
      switch (random() % 3) {
        case 0: ASSERT_TRUE(document.replace_line(at, "a\x82\x61 ab\r\n")); break;
        case 1: ASSERT_TRUE(document.insert_line(at, "\x83\x41 b\r\n")); break;
        default:
          if (at + 1 < document.line_count()) {
            ASSERT_TRUE(document.remove_line(at));
          }
      }
    }
    for (int query = 0; query < 30; ++query) {
      search_pattern pattern = prepare_pattern(random_pattern(random, document), false, random() % 2 == 0);
      std::int32_t count = document.line_count();
      auto a = static_cast<std::int32_t>(random() % static_cast<unsigned>(count));
      auto b = static_cast<std::int32_t>(random() % static_cast<unsigned>(count + 1));
      line_match by_blocks = first_match_in_lines(document, pattern, std::min(a, b), std::max(a, b), true);
      line_match by_lines = first_match_in_lines(document, pattern, std::min(a, b), std::max(a, b), false);
      ASSERT_EQ(by_blocks.line, by_lines.line) << pattern.bytes;
      ASSERT_EQ(by_blocks.offset, by_lines.offset) << pattern.bytes;
      found_forward += by_lines.line >= 0;
      by_blocks = last_match_in_lines(document, pattern, std::max(a, b) - 1, std::min(a, b), true);
      by_lines = last_match_in_lines(document, pattern, std::max(a, b) - 1, std::min(a, b), false);
      ASSERT_EQ(by_blocks.line, by_lines.line) << pattern.bytes;
      ASSERT_EQ(by_blocks.offset, by_lines.offset) << pattern.bytes;
      found_backward += by_lines.line >= 0;
    }
  }
  // The runs reach the matches, not only the empty results.
  EXPECT_GT(found_forward, 300);
  EXPECT_GT(found_backward, 300);
}

// A match that straddles the end of a piece or a block, or lies at the very
// start or end of the file, is found both ways.
TEST(block_search, finds_matches_across_the_ends_of_pieces) {
  scratch_dir dir;
  const byte_string filler = byte_string(99, 'a') + "\r\n";
  for (std::uint64_t boundary : {std::uint64_t{0}, std::uint64_t{65536}, std::uint64_t{262144},
                                 std::uint64_t{524288}, std::uint64_t{786432 - 8}}) {
    for (std::uint64_t before : {0, 1, 3, 5, 6}) {
      if (boundary < before) continue;
      SCOPED_TRACE(std::to_string(boundary) + " - " + std::to_string(before));
      byte_string bytes;
      while (bytes.size() + filler.size() + 1 < boundary - before) bytes += filler;
      bytes += byte_string(boundary - before - bytes.size(), 'b') + "needle\r\n";
      while (bytes.size() < 786432) bytes += filler;
      ASSERT_TRUE(write_bytes(dir / "a.txt", bytes));
      text_document document;
      load_text_file(document, dir / "a.txt", false, 0, 0, 0, 0, shift_jis, crlf);
      ASSERT_NE(document.state, failed_state);
      search_pattern pattern = prepare_pattern("needle", false, false);
      line_match forward = first_match_in_lines(document, pattern, 0, document.line_count());
      line_match backward = last_match_in_lines(document, pattern, document.line_count() - 1, 0);
      ASSERT_GE(forward.line, 0);
      EXPECT_EQ(document.lines.offset(forward.line) + forward.offset, boundary - before);
      EXPECT_EQ(backward.line, forward.line);
      EXPECT_EQ(backward.offset, forward.offset);
    }
  }
}

}  // namespace
}  // namespace vintorel
