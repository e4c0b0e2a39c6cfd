// Tests of loading a text: the line-end scan (also across read chunks), the
// refused files and offsets past 4 GiB.
#include "files/load_text.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <vector>

#include "files/charset.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

// The file lines as (offset, length), and the last line's bytes before conversion and 0x1A.
using scan_result = std::pair<std::vector<std::pair<std::uint64_t, std::uint64_t>>, std::string>;

// scan_bytes over `bytes` cut at the given chunk lengths (cycled). Cut into single
// bytes, no scan skips ahead: that is the plain byte-by-byte rules.
scan_result chunked_scan(const std::string& bytes, const std::vector<std::size_t>& cuts) {
  scan_result result;
  scan_state state;
  std::uint64_t start = 0;
  auto on_line = [&](std::uint64_t length) {
    result.first.push_back({start, length});
    start += length;
    return true;
  };
  std::size_t at = 0;
  for (std::size_t k = 0; at < bytes.size(); ++k) {
    std::size_t take = std::min(cuts[k % cuts.size()], bytes.size() - at);
    EXPECT_TRUE(scan_bytes(state, bytes.data() + at, take, on_line));
    at += take;
  }
  EXPECT_EQ(state.line_start, start);
  result.second = bytes.substr(state.line_start, state.line_length);
  return result;
}

// The index load_text_file builds from a file of these bytes, read back as spans;
// the last line is held in memory.
scan_result load_bytes(const std::string& bytes) {
  scratch_dir dir;
  text_document document;
  load_text_file(document, dir.write("t", bytes), false, 0, 0, 0, 0, shift_jis, crlf);
  EXPECT_EQ(document.state, unchanged_state);
  EXPECT_TRUE(document.lines.check());
  scan_result result;
  const std::int32_t last = document.line_count() - 1;
  for (std::int32_t i = 0; i < last; ++i) result.first.push_back({document.lines.offset(i), document.lines.length(i)});
  if (last < 0 || !document.lines.is_in_memory(last) || document.lines.text(last).empty()) return {{}, "no last line"};
  const byte_string& text = document.lines.text(last);
  EXPECT_EQ(text.back(), '\x1A');
  result.second = text.substr(0, text.size() - 1);
  return result;
}

TEST(scan, small_cases_and_line_ends_on_chunk_borders) {
  const std::size_t chunk = scan_chunk_size;
  const std::string before(chunk - 1, 'x');
  const std::size_t piece = scan_piece_size;
  const std::string piece_before(piece - 1, 'x');
  struct {
    std::string bytes;
    scan_result expected;
  } cases[] = {
      {"a\r", {{}, "a\r"}},  // a final CR stays in the last line
      // 0x1A meets a pending CR: the rules close the CR's line before stopping.
      {std::string("a\r\x1A\n"), {{{0, 2}}, ""}},
      {"a\n\rb\r\rc", {{{0, 2}, {2, 1}, {3, 2}, {5, 1}}, "c"}},
      {std::string("x\0y\n", 4), {{{0, 4}}, ""}},  // NUL is an ordinary byte to the scan
      // CR as the last byte of a chunk, LF or another byte as the first of the next.
      {before + "\r\ny", {{{0, chunk + 1}}, "y"}},
      {before + "\rz\n", {{{0, chunk}, {chunk, 2}}, ""}},
      {before + "\r" "\x1A" "q\n", {{{0, chunk}}, ""}},
      {before + "\r", {{}, before + "\r"}},
      // The same on the border of the pieces a chunk is scanned in.
      {piece_before + "\r\ny", {{{0, piece + 1}}, "y"}},
      {piece_before + "\rz\n", {{{0, piece}, {piece, 2}}, ""}},
      {piece_before + "\r" "\x1A" "q\n", {{{0, piece}}, ""}},
      {piece_before + "\n" "\x1A" "\n", {{{0, piece}}, ""}},
      // A line spanning three chunks, then more.
      {std::string(3 * chunk + 5, 'w') + "\r\nv", {{{0, 3 * chunk + 7}}, "v"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes.substr(0, 8)) + " size " + std::to_string(c.bytes.size()));
    EXPECT_EQ(chunked_scan(c.bytes, {1}), c.expected);
    EXPECT_EQ(chunked_scan(c.bytes, {c.bytes.size() + 1}), c.expected);
    EXPECT_EQ(load_bytes(c.bytes), c.expected);
  }
}

// Random files dense in CR, LF and 0x1A, scanned whole, cut at random places
// and loaded from disk, all agree with the byte-by-byte scan.
TEST(scan, random_bytes_agree_with_the_byte_rules) {
  std::mt19937 random(12345);
  const char alphabet[] = {'\r', '\n', '\r', '\n', 'a', 'b', '\x82', '\xA0'};
  for (int round = 0; round < 300; ++round) {
    std::size_t size = random() % 300;
    if (round % 50 == 0) size = scan_chunk_size - 2 + random() % 5;
    std::string bytes(size, 'a');
    for (auto& b : bytes) b = random() % 500 == 0 ? '\x1A' : alphabet[random() % sizeof alphabet];  // rare 0x1A
    const scan_result expected = chunked_scan(bytes, {1});
    std::vector<std::size_t> cuts;
    for (int k = 0; k < 5; ++k) cuts.push_back(1 + random() % 70);
    SCOPED_TRACE(round);
    EXPECT_EQ(chunked_scan(bytes, cuts), expected);
    EXPECT_EQ(chunked_scan(bytes, {bytes.size() + 1}), expected);
    if (round % 10 == 0) {
      EXPECT_EQ(load_bytes(bytes), expected);
    }
  }
}

class loading : public ::testing::Test {
 protected:
  scratch_dir dir;
  text_document document;
};

TEST_F(loading, files_that_cannot_be_loaded) {
  // A path of 256 bytes is refused, even though the file cut to 255 bytes exists.
  std::string long_path = dir.dir();
  while (long_path.size() < 250) long_path += "d/";
  std::filesystem::create_directories(long_path);
  long_path += std::string(255 - long_path.size(), 'f');
  ASSERT_TRUE(write_bytes(long_path, "fits"));
  load_text_file(document, long_path, false, 0, 0, 0, 0, shift_jis, crlf);
  EXPECT_EQ(document.state, unchanged_state);
  ASSERT_TRUE(write_bytes(long_path + "g", "too long"));

  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);  // and no hang waiting for a writer
  for (const auto& bad :
       {dir / "missing.txt", dir.write("a.txt", "x") + "/below.txt", dir.dir(), dir / "fifo", long_path + "g"}) {
    SCOPED_TRACE(bad);
    load_text_file(document, bad, false, 0, 0, 0, 0, unknown_charset, unknown_linefeed);
    EXPECT_EQ(document.state, failed_state);
    EXPECT_EQ(document.line_count(), 0);
    EXPECT_FALSE(document.is_usable());
  }
}

TEST_F(loading, lines_beyond_four_gibibytes) {
  // A sparse file: one line of just under 4 GiB of NUL bytes, a line across the
  // 4 GiB mark, and short lines after it.
  const std::uint64_t four = std::uint64_t{1} << 32;
  const std::string path = dir / "big", tail = "abc\ndef";
  auto put = [&](std::uint64_t offset, const std::string& bytes) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    bool written = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) == std::ssize(bytes);
    return close(fd) == 0 && written;
  };
  if (!put(four - 5, "\n") || !put(four + 50, "\n" + tail)) GTEST_SKIP() << "no sparse files of this size here";
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, lf);
  // Shown and saved, but too long to edit: the text is read-only.
  ASSERT_EQ(document.state, read_only_state);
  EXPECT_TRUE(document.has_overlong_line);
  EXPECT_EQ(document.size, static_cast<std::int64_t>(four + 51 + tail.size()));
  ASSERT_EQ(document.line_count(), 4);
  EXPECT_EQ(document.lines.length(0), four - 4);
  EXPECT_EQ(document.lines.offset(2), four + 51);
  byte_string line;
  ASSERT_TRUE(document.fetch_line(2, line));
  EXPECT_EQ(line, "abc\r\n");
  ASSERT_TRUE(document.fetch_line(1, line));
  EXPECT_EQ(line.size(), 56u);
  EXPECT_EQ(document.lines.text(3), "def\x1A");

  // A line longer than a 32-bit length can hold cannot be loaded.
  ASSERT_EQ(truncate(path.c_str(), 0), 0);
  ASSERT_TRUE(put(four + 10, "\n"));
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, lf);
  EXPECT_EQ(document.state, failed_state);
}

}  // namespace
}  // namespace vintorel
