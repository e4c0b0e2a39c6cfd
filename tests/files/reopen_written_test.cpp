// Opening a file again from what the writer recorded gives the text a scan of
// the file gives: the same lines, offsets, last line, block checksums and
// read-only state, for random texts in every character set and line end, with
// edited lines, stray CRs and LFs, a final line end or none, and files of many
// blocks. A file changed after the save is scanned instead.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <random>
#include <string>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/save_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

void expect_same_text(text_document& reused, text_document& scanned) {
  ASSERT_EQ(reused.state, scanned.state);
  ASSERT_TRUE(reused.lines.check());
  ASSERT_EQ(reused.line_count(), scanned.line_count());
  for (std::int32_t i = 0; i < scanned.line_count(); ++i) {
    ASSERT_EQ(reused.lines.offset(i), scanned.lines.offset(i)) << "line " << i;
    ASSERT_EQ(reused.lines.length(i), scanned.lines.length(i)) << "line " << i;
    ASSERT_EQ(reused.lines.text(i), scanned.lines.text(i)) << "line " << i;
  }
  EXPECT_EQ(reused.file.block_sums, scanned.file.block_sums);
  EXPECT_EQ(reused.last_line_offset, scanned.last_line_offset);
  EXPECT_EQ(reused.last_line_length, scanned.last_line_length);
  EXPECT_EQ(reused.has_overlong_line, scanned.has_overlong_line);
  EXPECT_EQ(reused.size, scanned.size);
}

byte_string random_text(std::mt19937& random, std::size_t bytes) {
  static const char* const pieces[] = {"a", "line ", "\x82\xA0", "\x93\xFA\x96\x7B", "\xB1", "\t", "\r\n", "\r\n",
                                       "\r\n", "\n", "\r", "\x95\x5C"};
  byte_string text;
  while (text.size() < bytes) text += pieces[random() % std::size(pieces)];
  if (random() % 2) text += "\r\n";
  return text;
}

TEST(reopening_after_a_save, takes_the_writers_index_only_for_the_file_it_wrote) {
  scratch_dir dir;
  const charset charsets[] = {shift_jis, utf8, euc_jp, iso2022jp};
  const linefeed_kind ends[] = {crlf, lf, cr};
  for (unsigned seed = 1; seed <= 48; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    // Every fourth file spans several of the writer's buffers.
    std::size_t bytes = seed % 4 == 0 ? 3000000 + random() % 100000 : random() % 3000;
    ASSERT_TRUE(write_bytes(dir / "a.txt", random_text(random, bytes)));
    text_document document;
    load_text_file(document, dir / "a.txt", false, 0, 0, 0, 0, shift_jis, ends[seed % 3]);
    ASSERT_EQ(document.state, unchanged_state);
    // Empty lines written as a bare line end meet the copied runs' lone CRs.
    for (int edit = 0; edit < 8; ++edit) {
      auto at = static_cast<std::int32_t>(random() % static_cast<unsigned>(document.line_count()));
      ASSERT_TRUE(document.insert_line(at, edit % 2 ? "\r\n" : "\x8A\xBF edited\r\n"));
    }
    // Half the texts keep their character set, so their unedited lines are
    // copied, and a third their line end.
    document.save_charset = seed % 2 ? shift_jis : charsets[(seed / 2) % 4];
    document.save_linefeed = seed % 3 ? ends[seed % 3] : ends[(seed / 3) % 3];
    save_options options;
    options.keep_written = true;
    save_result result = save_text_file(document, dir / "a.txt", options);
    ASSERT_EQ(result.status, save_status::saved);
    ASSERT_TRUE(result.written && result.written->usable);

    text_document reused, scanned;
    load_text_file(reused, dir / "a.txt", false, 0, 0, 0, 0, document.save_charset, document.save_linefeed, 1, true,
                   result.written.get());
    EXPECT_FALSE(result.written->usable);  // taken
    load_text_file(scanned, dir / "a.txt", false, 0, 0, 0, 0, document.save_charset, document.save_linefeed);
    expect_same_text(reused, scanned);
  }
}

TEST(reopening_after_a_save, scans_a_file_changed_since_or_opened_with_detection) {
  scratch_dir dir;
  for (int change = 0; change < 3; ++change) {
    SCOPED_TRACE(change);
    ASSERT_TRUE(write_bytes(dir / "a.txt", "one\r\ntwo\r\nthree"));
    text_document document;
    load_text_file(document, dir / "a.txt", false, 0, 0, 0, 0, shift_jis, crlf);
    ASSERT_TRUE(document.insert_line(1, "new\r\n"));
    save_options options;
    options.keep_written = true;
    save_result result = save_text_file(document, dir / "a.txt", options);
    ASSERT_TRUE(result.written && result.written->usable);
    charset charset_code = shift_jis;
    if (change == 0) {
      // Same size, another time: the bytes may differ.
      ASSERT_TRUE(write_bytes(dir / "a.txt", "one\r\nnew\r\ntwo\nthree"));
      struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
      ASSERT_EQ(utimes((dir / "a.txt").c_str(), times), 0);
    } else if (change == 1) {
      ASSERT_TRUE(write_bytes(dir / "b.txt", "other\r\n"));
      ASSERT_EQ(rename((dir / "b.txt").c_str(), (dir / "a.txt").c_str()), 0);
    } else {
      charset_code = unknown_charset;  // detection needs the scan
    }
    text_document reopened, scanned;
    load_text_file(reopened, dir / "a.txt", false, 0, 0, 0, 0, charset_code, crlf, 1, true, result.written.get());
    EXPECT_TRUE(result.written->usable);  // not taken
    load_text_file(scanned, dir / "a.txt", false, 0, 0, 0, 0, charset_code, crlf);
    expect_same_text(reopened, scanned);
  }
}

}  // namespace
}  // namespace vintorel
