// Tests of loading a text: the line-end scan (also across read chunks), the
// path, the character set, the access state and the initial position.
#include "files/load_text.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <vector>

#include "files/charset.h"
#include "files/file_system.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

struct span {
  std::uint64_t offset;
  std::uint64_t length;
  bool operator==(const span&) const = default;
};

struct scan_result {
  std::vector<span> lines;  // the file lines
  std::string last;         // the last line's bytes, before conversion and 0x1A
  bool operator==(const scan_result&) const = default;
};

std::ostream& operator<<(std::ostream& out, const scan_result& r) {
  for (const auto& s : r.lines) out << "(" << s.offset << "," << s.length << ") ";
  return out << "last " << r.last.size() << " bytes";
}

// The byte-by-byte rules, one byte at a time.
scan_result reference_scan(const std::string& bytes) {
  scan_result result;
  std::uint64_t start = 0, length = 0;
  bool cr_pending = false;
  for (char b : bytes) {
    if (cr_pending && b != '\n') {
      result.lines.push_back({start, length});
      start += length;
      length = 0;
      cr_pending = false;
    }
    if (b == '\n') {
      ++length;
      result.lines.push_back({start, length});
      start += length;
      length = 0;
      cr_pending = false;
    } else if (b == '\r') {
      cr_pending = true;
      ++length;
    } else if (b == 0x1A) {
      break;
    } else {
      ++length;
    }
  }
  result.last = bytes.substr(start, length);
  return result;
}

// scan_bytes over `bytes` cut at the given chunk lengths (cycled).
scan_result chunked_scan(const std::string& bytes, const std::vector<std::size_t>& cuts) {
  scan_result result;
  scan_state state;
  std::uint64_t start = 0;
  auto on_line = [&](std::uint64_t length) {
    result.lines.push_back({start, length});
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
  result.last = bytes.substr(state.line_start, state.line_length);
  return result;
}

// The index load_text_file builds, read back as spans.
scan_result loaded_scan(text_document& document) {
  scan_result result;
  EXPECT_TRUE(document.lines.check());
  std::int32_t count = document.line_count();
  for (std::int32_t i = 0; i + 1 < count; ++i) {
    EXPECT_FALSE(document.lines.is_in_memory(i));
    result.lines.push_back({document.lines.offset(i), document.lines.length(i)});
  }
  EXPECT_GE(count, 1);
  if (count >= 1) {
    EXPECT_TRUE(document.lines.is_in_memory(count - 1));
    const byte_string& text = document.lines.text(count - 1);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\x1A');
    EXPECT_EQ(document.lines.length(count - 1), text.size());
    result.last = text.substr(0, text.size() - 1);
  }
  return result;
}

scan_result load_bytes(const std::string& bytes) {
  scratch_dir dir;
  EXPECT_TRUE(write_bytes(dir / "t", bytes));
  text_document document;
  load_text_file(document, dir / "t", false, 0, 0, 0, 0, shift_jis, crlf);
  EXPECT_EQ(document.state, unchanged_state);
  return loaded_scan(document);
}

TEST(scan, small_cases) {
  struct {
    std::string bytes;
    scan_result expected;
  } cases[] = {
      {"", {{}, ""}},
      {"a\r\nb\n", {{{0, 3}, {3, 2}}, ""}},
      {"a\rb", {{{0, 2}}, "b"}},
      {"a\r", {{}, "a\r"}},  // a final CR stays in the last line
      {std::string("ab\x1A" "cd"), {{}, "ab"}},
      // 0x1A meets a pending CR: the rules close the CR's line before stopping.
      {std::string("a\r\x1A\n"), {{{0, 2}}, ""}},
      {std::string("a\n\x1A\n"), {{{0, 2}}, ""}},
      {std::string("\x1A"), {{}, ""}},
      {"\n", {{{0, 1}}, ""}},
      {"\r", {{}, "\r"}},
      {"\r\r\n\n\r", {{{0, 1}, {1, 2}, {3, 1}}, "\r"}},
      {"\n\r\n\r", {{{0, 1}, {1, 2}}, "\r"}},
      {"a\n\rb\r\rc", {{{0, 2}, {2, 1}, {3, 2}, {5, 1}}, "c"}},
      {std::string("x\0y\n", 4), {{{0, 4}}, ""}},  // NUL is an ordinary byte to the scan
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(reference_scan(c.bytes), c.expected);
    EXPECT_EQ(load_bytes(c.bytes), c.expected);
    EXPECT_EQ(chunked_scan(c.bytes, {1}), c.expected);
  }
}

TEST(scan, line_ends_on_chunk_borders) {
  const std::size_t chunk = scan_chunk_size;
  std::string before(chunk - 1, 'x');
  struct {
    std::string bytes;
    scan_result expected;
  } cases[] = {
      // CR at offset 65535, LF at 65536: one line.
      {before + "\r\ny", {{{0, chunk + 1}}, "y"}},
      // CR at 65535, another byte at 65536: the CR ends the line.
      {before + "\rz\n", {{{0, chunk}, {chunk, 2}}, ""}},
      {before + "\r\r\n", {{{0, chunk}, {chunk, 2}}, ""}},
      {before + "\r" "\x1A" "q\n", {{{0, chunk}}, ""}},
      {before + "\r", {{}, before + "\r"}},
      {before + "\n", {{{0, chunk}}, ""}},
      {before + "y\n", {{{0, chunk + 1}}, ""}},
      {before + "y" "\x1A", {{}, before + "y"}},
      // A line spanning three chunks, then more.
      {std::string(3 * chunk + 5, 'w') + "\r\nv", {{{0, 3 * chunk + 7}}, "v"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    ASSERT_EQ(reference_scan(c.bytes), c.expected);
    EXPECT_EQ(load_bytes(c.bytes), c.expected);
  }
}

// Random files dense in CR, LF and 0x1A, scanned whole, cut at random places
// and loaded from disk, all agree with the reference.
TEST(scan, random_bytes_agree_with_the_byte_rules) {
  std::mt19937 random(12345);
  const char alphabet[] = {'\r', '\n', '\r', '\n', 'a', 'b', '\x82', '\xA0', '\x1A'};
  for (int round = 0; round < 300; ++round) {
    std::size_t size = random() % 300;
    if (round % 50 == 0) size = scan_chunk_size - 2 + random() % 5;
    // Rare 0x1A so that most rounds reach the end.
    std::string bytes(size, 'a');
    for (auto& b : bytes) {
      b = alphabet[random() % (sizeof alphabet - 1)];
      if (random() % 500 == 0) b = '\x1A';
    }
    scan_result expected = reference_scan(bytes);
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

TEST(scan, an_aborting_callback_stops_the_scan) {
  scan_state state;
  int calls = 0;
  std::string bytes = "a\nb\nc\n";
  EXPECT_FALSE(scan_bytes(state, bytes.data(), bytes.size(), [&](std::uint64_t) { return ++calls < 2; }));
  EXPECT_EQ(calls, 2);
}

class loading : public ::testing::Test {
 protected:
  std::string file(const std::string& name, const std::string& bytes) {
    std::string path = dir / name;
    EXPECT_TRUE(write_bytes(path, bytes));
    return path;
  }
  scratch_dir dir;
  text_document document;
};

TEST_F(loading, detection_sets_both_pairs) {
  // "日本" in ISO-2022-JP with LF line ends.
  load_text_file(document, file("j.txt", "\x1B$BF|K\\\x1B(B\nx\n"), false, 0, 0, 0, 0, 0, crlf);
  ASSERT_EQ(document.state, unchanged_state);
  EXPECT_EQ(document.file_charset, iso2022jp);
  EXPECT_EQ(document.file_linefeed, lf);
  EXPECT_EQ(document.save_charset, iso2022jp);
  EXPECT_EQ(document.save_linefeed, lf);
}

TEST_F(loading, the_last_line_is_converted_from_the_file_charset) {
  // EUC-JP "漢字" + half-width "ｱ", no final line end.
  load_text_file(document, file("e.txt", "x\n\xB4\xC1\xBB\xFA\x8E\xB1"), false, 0, 0, 0, 0, euc_jp, lf);
  ASSERT_EQ(document.line_count(), 2);
  EXPECT_EQ(document.lines.text(1), "\x8A\xBF\x8E\x9A\xB1\x1A");
  EXPECT_EQ(document.lines.length(1), 6u);
}

TEST_F(loading, read_only_flag_and_attributes_decide_the_state) {
  std::string path = file("a.txt", "x");
  load_text_file(document, path, true, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(document.state, read_only_state);
  load_text_file(document, path, false, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(document.state, unchanged_state);
  // Without the owner's write bit the file has the r attribute (even for root).
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  load_text_file(document, path, false, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(document.state, read_only_state);
  ASSERT_EQ(document.line_count(), 1);
  EXPECT_EQ(document.lines.text(0), "x\x1A");
}

TEST_F(loading, a_file_that_cannot_be_read_leaves_state_3) {
  file("plain", "x");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::string paths[] = {dir / "missing.txt", dir / "plain/below.txt", dir.dir(),
                               dir / "fifo"};
  for (const auto& path : paths) {
    SCOPED_TRACE(path);
    load_text_file(document, path, false, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(document.state, failed_state);
    EXPECT_EQ(document.line_count(), 0);
    EXPECT_FALSE(is_open(document.file));
    EXPECT_FALSE(document.is_usable());
  }
}

TEST_F(loading, a_relative_path_is_taken_from_the_executable_directory) {
  load_text_file(document, "no-such-file-for-this-test.txt", false, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(document.state, failed_state);
  EXPECT_EQ(document.name, executable_directory() + "no-such-file-for-this-test.txt");
}

TEST_F(loading, a_path_longer_than_255_bytes_is_refused_not_cut) {
  std::string path = dir.dir();
  while (path.size() < 250) path += "d/";
  ASSERT_EQ(std::system(("mkdir -p '" + path + "'").c_str()), 0);
  path += std::string(255 - path.size(), 'f');
  ASSERT_EQ(path.size(), 255u);
  ASSERT_TRUE(write_bytes(path, "fits"));
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, crlf);
  EXPECT_EQ(document.state, unchanged_state);
  // One byte more: refused, even though the file cut to 255 bytes exists.
  ASSERT_TRUE(write_bytes(path + "g", "too long"));
  load_text_file(document, path + "g", false, 0, 0, 0, 0, shift_jis, crlf);
  EXPECT_EQ(document.state, failed_state);
}

TEST_F(loading, initial_position_past_the_end_goes_to_the_last_line) {
  std::string path = file("a.txt", "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n");  // 11 lines
  load_text_file(document, path, false, 0, 0, 40, -1, shift_jis, lf, 4);
  EXPECT_EQ(document.current_line, 10);
  EXPECT_EQ(document.top_line, 7);
  EXPECT_EQ(document.previous_line, 10);
  EXPECT_EQ(document.mark_line, 10);
  EXPECT_EQ(document.mark_column, -1);
  ASSERT_TRUE(document.load_current_line(8));

  load_text_file(document, path, false, 5, 0, 11, 0, shift_jis, lf, 30);  // more rows than lines
  EXPECT_EQ(document.current_line, 10);
  EXPECT_EQ(document.top_line, 0);
}

TEST_F(loading, lines_beyond_four_gibibytes) {
  // A sparse file: one line of just under 4 GiB of NUL bytes, a line across the
  // 4 GiB mark, and short lines after it.
  const std::uint64_t four = std::uint64_t{1} << 32;
  std::string path = dir / "big";
  int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  const std::string tail = "abc\ndef";
  bool written = pwrite(fd, "\n", 1, static_cast<off_t>(four - 5)) == 1 &&
                 pwrite(fd, "\n", 1, static_cast<off_t>(four + 50)) == 1 &&
                 pwrite(fd, tail.data(), tail.size(), static_cast<off_t>(four + 51)) ==
                     static_cast<ssize_t>(tail.size());
  close(fd);
  if (!written) GTEST_SKIP() << "no sparse files of this size here";
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, lf);
  ASSERT_EQ(document.state, unchanged_state);
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
  fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(pwrite(fd, "\n", 1, static_cast<off_t>(four + 10)), 1);
  close(fd);
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, lf);
  EXPECT_EQ(document.state, failed_state);
}

TEST_F(loading, holes_of_a_sparse_file_scan_as_nul_bytes) {
  // A CR ends the first 64 KiB, a hole follows, then data again: the hole's
  // first NUL settles the pending CR.
  std::string first = std::string(scan_chunk_size - 1, 'x') + "\r";
  const std::uint64_t later = 1 << 20;
  std::string path = dir / "sparse";
  int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(pwrite(fd, first.data(), first.size(), 0), static_cast<ssize_t>(first.size()));
  ASSERT_EQ(pwrite(fd, "b\nc", 3, static_cast<off_t>(later)), 3);
  close(fd);
  std::string bytes = first + std::string(later - first.size(), '\0') + "b\nc";
  ASSERT_EQ(test_support::read_bytes(path), bytes);
  scan_result expected = reference_scan(bytes);
  ASSERT_EQ(expected.lines.size(), 2u);
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, lf);
  ASSERT_EQ(document.state, unchanged_state);
  EXPECT_EQ(loaded_scan(document), expected);
}

}  // namespace
}  // namespace vintorel
