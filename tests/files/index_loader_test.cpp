// Tests of loading the rest of a file on a worker: the text it ends with is the
// one a whole load gives, the guessed character set may change once at the
// end, and a file found binary, changed or given up ends the load cleanly.
#include "files/index_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <string>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

// Loads `path` whole, or shown after its first chunk with a worker for the rest.
void load(text_document& document, const std::string& path, charset charset_code, background_load* rest) {
  load_text_file(document, path, false, 0, 0, 0, 0, charset_code, charset_code == unknown_charset ? unknown_linefeed : crlf,
                 1, true, nullptr, rest);
}

// Every file is shown after its first chunk (and first screen).
struct first_chunk_load : background_load {
  first_chunk_load() {
    whole_below = 0;
    first_part = 0;
  }
};

// Ends a background load after the worker has ended.
bool finish(background_load& rest, text_document& document) {
  while (!wait_for_index(*rest.loader, 1000)) {
  }
  return finish_text_load(*rest.loader, document);
}

void expect_same_text(text_document& a, text_document& b) {
  ASSERT_EQ(a.line_count(), b.line_count());
  EXPECT_TRUE(a.lines.check());
  for (std::int32_t i = 0; i < a.line_count(); ++i) {
    ASSERT_EQ(a.lines.is_in_memory(i), b.lines.is_in_memory(i)) << i;
    if (a.lines.is_in_memory(i)) {
      EXPECT_EQ(a.lines.text(i), b.lines.text(i)) << i;
    } else {
      ASSERT_EQ(a.lines.offset(i), b.lines.offset(i)) << i;
      ASSERT_EQ(a.lines.length(i), b.lines.length(i)) << i;
    }
  }
  EXPECT_EQ(a.file.block_sums, b.file.block_sums);
  EXPECT_EQ(a.file_charset, b.file_charset);
  EXPECT_EQ(a.file_linefeed, b.file_linefeed);
  EXPECT_EQ(a.save_charset, b.save_charset);
  EXPECT_EQ(a.last_line_offset, b.last_line_offset);
  EXPECT_EQ(a.last_line_length, b.last_line_length);
  EXPECT_EQ(a.state, b.state);
  EXPECT_EQ(a.loading_percent, -1);
}

// Random texts of several chunks: short and long lines, every line end, CRs at
// chunk ends, sometimes a 0x1A that ends the text early.
TEST(index_loader, ends_with_the_text_a_whole_load_gives) {
  std::mt19937 random(17);
  scratch_dir dir;
  int in_background = 0;
  for (int round = 0; round < 24; ++round) {
    std::string bytes;
    std::size_t size = 65536 * (1 + random() % 5) + random() % 3000;
    const char* ends[] = {"\r\n", "\n", "\r"};
    while (bytes.size() < size) {
      bytes.append(random() % 7 == 0 ? 3000 + random() % 90000 : random() % 80, static_cast<char>('a' + random() % 26));
      bytes += ends[random() % 3];
    }
    bytes.resize(size);
    // Lines ending exactly at a chunk's end, or split there.
    if (round % 3 == 0) bytes[65535] = '\r', bytes[65536] = '\n';
    if (round % 3 == 1) bytes[65535] = '\r', bytes[65536] = 'x';
    if (round % 5 == 4) bytes[bytes.size() - 70000 + random() % 60000] = '\x1A';
    std::string path = dir.write("t" + std::to_string(round), bytes);

    text_document whole;
    load(whole, path, shift_jis, nullptr);
    ASSERT_EQ(whole.state, unchanged_state);
    text_document shown;
    first_chunk_load rest;
    load(shown, path, shift_jis, &rest);
    if (!rest.loader) {
      // A text that ends (or meets 0x1A) within the first screen loads whole.
      expect_same_text(shown, whole);
      continue;
    }
    // Meanwhile the text is usable: its last line is the stand-in.
    EXPECT_GE(shown.loading_percent, 0);
    EXPECT_EQ(shown.lines.text(shown.line_count() - 1), byte_string(1, '\x1A'));
    EXPECT_TRUE(take_indexed_lines(*rest.loader, shown));
    EXPECT_TRUE(shown.lines.check());
    ASSERT_TRUE(finish(rest, shown));
    expect_same_text(shown, whole);
    ++in_background;
  }
  EXPECT_GE(in_background, 16);
}

TEST(index_loader, the_guessed_charset_changes_once_at_the_end) {
  scratch_dir dir;
  // Plain ASCII for two chunks, then EUC-JP text: the first part says nothing
  // of the character set, the whole file does.
  std::string bytes;
  while (bytes.size() < 2 * 65536) bytes += "plain ascii line\n";
  for (int i = 0; i < 2000; ++i) bytes += "\xC6\xFC\xCB\xDC\xB8\xEC\n";
  std::string path = dir.write("euc", bytes);
  text_document whole;
  load(whole, path, unknown_charset, nullptr);
  ASSERT_EQ(whole.file_charset, euc_jp);

  text_document shown;
  first_chunk_load rest;
  load(shown, path, unknown_charset, &rest);
  ASSERT_TRUE(rest.loader);
  EXPECT_EQ(shown.file_charset, shift_jis);
  EXPECT_EQ(shown.file_linefeed, lf);
  ASSERT_TRUE(finish(rest, shown));
  expect_same_text(shown, whole);
}

TEST(index_loader, a_file_found_binary_or_changed_later_fails_to_load) {
  scratch_dir dir;
  std::string bytes;
  while (bytes.size() < 4 * 65536) bytes += "text line\r\n";
  std::string binary_bytes = bytes;
  binary_bytes[3 * 65536] = '\0';

  text_document binary_text;
  first_chunk_load binary_rest;
  load(binary_text, dir.write("b", binary_bytes), unknown_charset, &binary_rest);
  ASSERT_TRUE(binary_rest.loader);
  EXPECT_FALSE(finish(binary_rest, binary_text));
  EXPECT_EQ(binary_text.file_charset, binary);
  EXPECT_EQ(binary_text.state, failed_state);
  EXPECT_EQ(binary_text.line_count(), 0);

  // Written to while the worker reads it: the index fits neither version.
  hold_index_loaders(true);
  std::string path = dir.write("c", bytes);
  text_document changed;
  first_chunk_load changed_rest;
  load(changed, path, shift_jis, &changed_rest);
  ASSERT_TRUE(changed_rest.loader);
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << "more\r\n";
  }
  hold_index_loaders(false);
  EXPECT_FALSE(finish(changed_rest, changed));
  EXPECT_EQ(changed.state, failed_state);
}

TEST(index_loader, a_stopped_worker_leaves_a_usable_text_behind) {
  scratch_dir dir;
  std::string bytes;
  while (bytes.size() < 8 * 65536) bytes += "text line\r\n";
  hold_index_loaders(true);
  text_document document;
  first_chunk_load rest;
  load(document, dir.write("s", bytes), shift_jis, &rest);
  ASSERT_TRUE(rest.loader);
  // The worker is stopped while held; taking what it handed over still works.
  stop_index_loader(*rest.loader);
  hold_index_loaders(false);
  EXPECT_TRUE(take_indexed_lines(*rest.loader, document));
  EXPECT_TRUE(document.lines.check());
  EXPECT_EQ(document.lines.text(document.line_count() - 1), byte_string(1, '\x1A'));
  rest.loader.reset();
  document.destroy();
}

}  // namespace
}  // namespace vintorel
