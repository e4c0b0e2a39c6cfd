// Tests of character-set detection and of the line converters between the internal
// Shift_JIS form and ISO-2022-JP, EUC-JP and UTF-8.
#include "files/charset.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/iconv_convert.h"
#include "files/reference_detect.h"
#include "platform/cp932.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using detected = std::pair<charset, linefeed_kind>;
using test_support::iconv_convert;

// What the detector finds in `bytes`, from memory or from a file; `guess` is the
// "detect UTF8" switch.
detected detect(const std::string& bytes, bool from_file = false, bool guess = false) {
  detected d{};
  if (from_file)
    detect_charset(test_support::scratch_dir().write("t", bytes), d.first, d.second, guess);
  else
    detect_charset_bytes(bytes.data(), bytes.size(), d.first, d.second, guess);
  return d;
}

detected reference_detect(const std::string& bytes, bool guess = false) {
  detected d{};
  test_support::reference_detect(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), d.first,
                                 d.second, guess);
  return d;
}

TEST(detect, known_answers_and_files_that_are_not_read) {
  const std::pair<std::string, detected> cases[] = {
      // A kanji that keeps every hypothesis alive: the scan goes on and the last line end wins.
      {"\x88\x9f\r\nb\n", {shift_jis, lf}},
      // All three hypotheses fail at 0x40: the scan stops at the first line end,
      // and nothing after the stop counts, not even a NUL or an ESC.
      {std::string("\xe8\x40\r\n\0\x1b", 6), {shift_jis, crlf}},
      {"\x1b$B\xfe\r\n", {euc_jp, crlf}},
      {"a\r\x1a\n", {shift_jis, cr}},  // CR right before end-of-text
  };
  for (const auto& [bytes, expected] : cases) {
    EXPECT_EQ(detect(bytes, true), expected) << ::testing::PrintToString(bytes);
    EXPECT_EQ(reference_detect(bytes), expected) << ::testing::PrintToString(bytes);
  }
  test_support::scratch_dir scratch;
  const std::string fifo = scratch / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO would hang in open() without a writer.
  for (const std::string& path : {fifo, scratch.dir(), std::string("/nonexistent/vintorel/file.txt")}) {
    detected d{unknown_charset, unknown_linefeed};
    detect_charset(path, d.first, d.second);
    EXPECT_EQ(d, (detected{shift_jis, crlf})) << path;
  }
}

TEST(detect, file_and_memory_scans_agree_with_the_plain_rules) {
  // Random texts over the bytes the rules look at, some long enough to cross the
  // file reader's block boundary.
  const unsigned char alphabet[] = {'a', '\r', '\n', 0x1A, 0x1B, 0x00, 0x80, 0x88, 0x8E, 0x8F, 0x9F, 0xA0, 0xA4,
                                    0xB1, 0xC3, 0xDF, 0xE3, 0xE8, 0xEF, 0xF0, 0xFD, 0xFE, 0x40, 0x81};
  std::mt19937 random(12345);
  for (int round = 0; round < 100000; ++round) {
    std::string bytes;
    const int length = random() % 24;
    for (int i = 0; i < length; ++i) {
      // Mostly ASCII letters so that the fast path gets exercised between specials.
      const unsigned pick = random() % 6;
      bytes += pick < 2 ? static_cast<char>(alphabet[random() % sizeof alphabet])
               : pick == 2 ? static_cast<char>(random() % 256)
                           : 'x';
    }
    ASSERT_EQ(detect(bytes), reference_detect(bytes)) << ::testing::PrintToString(bytes);
    ASSERT_EQ(detect(bytes, false, true), reference_detect(bytes, true)) << ::testing::PrintToString(bytes);
  }
  for (int round = 0; round < 20; ++round) {
    std::string bytes(300000, 'x');
    for (int i = 0; i < 30; ++i) bytes[random() % bytes.size()] = static_cast<char>(alphabet[random() % 6]);
    bytes[262143 + round % 3] = '\r';  // line ends right at the block edge
    bytes[262144 + round % 3] = round % 2 ? '\n' : 'y';
    ASSERT_EQ(detect(bytes, true), reference_detect(bytes));
    ASSERT_EQ(detect(bytes, true, true), reference_detect(bytes, true));
  }
}

std::string decoded(void (*decode)(char*), std::string line) {
  line.push_back('\0');
  decode(line.data());
  return std::string(line.c_str());
}
std::string from_jis(const std::string& line) { return decoded(jis_to_sjis_in_place, line); }
std::string from_euc(const std::string& line) { return decoded(euc_to_sjis_in_place, line); }
std::string from_utf8(const std::string& line) { return decoded(utf8_to_sjis_in_place, line); }

// Encodes into a buffer of the size function's result and checks the result fits,
// writing nothing past it.
template <typename Size, typename Encode>
std::string encoded(Size size, Encode encode, const std::string& line) {
  const std::size_t n = size(line.c_str());
  std::vector<char> buffer(n + 8, '\x55');
  EXPECT_TRUE(encode(buffer.data(), n, line.c_str()));
  const std::size_t length = strnlen(buffer.data(), n);
  EXPECT_LT(length, n);
  EXPECT_EQ(std::string(buffer.data() + n, 8), std::string(8, '\x55'));
  return std::string(buffer.data(), length);
}
std::string to_jis(const std::string& line) { return encoded(sjis_to_jis_size, sjis_to_jis, line); }
std::string to_euc(const std::string& line) { return encoded(sjis_to_euc_size, sjis_to_euc, line); }
std::string to_utf8(const std::string& line) { return encoded(sjis_to_utf8_size, sjis_to_utf8, line); }

TEST(converters, modes_replacements_truncated_input_and_stray_lead_bytes) {
  const struct {
    std::string (*convert)(const std::string&);
    std::string in, out;
  } cases[] = {
      {from_jis, "\x1b$B$\"\x1b(I1$\"", "\x82\xa0\xb1\xa4\xa2"},  // katakana cancel kanji mode
      {from_jis, "\x1b$B$\r\n", "?\r\n"},           // half a kanji before a line end
      {from_euc, "\x8f\xb0\xa1x", "\x81\x48x"},     // JIS X 0212 has no Shift_JIS form
      {from_utf8, "\xf0\x9f\x98\x80", "?"},  // no Shift_JIS form
      {from_utf8, "a\xe3\x81", "a?"},
      // Stray lead bytes never swallow line ends or the terminator.
      {to_jis, "a\x82\r\n", "a\x1b$B!)\x1b(B\r\n"},
      {to_utf8, "\x82\r\n", "?\r\n"},
      // Nor a TAB or any other control byte: the text model shows and moves
      // through the lead byte and the TAB as two characters, and so they are saved.
      {to_jis, "\x88\tA\r\n", "\x1b$B!)\x1b(B\tA\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.convert(c.in), c.out) << ::testing::PrintToString(c.in);
}


TEST(converters, agree_with_glibc_and_round_trip_on_every_jis_x_0208_character) {
  // Where code page 932 and EUC-JP give a character the same Unicode form,
  // glibc's own Shift_JIS code must be ours too.
  int characters = 0, compared = 0;
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const std::string euc = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
      const auto text = iconv_convert("UTF-8", "EUC-JP", euc);
      if (!text) continue;
      ++characters;
      const unsigned jis = (row + 0x20) << 8 | (cell + 0x20), code = jis_to_jms(jis);
      const std::string sjis = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      const std::string line = "a" + sjis + "\xb1" + sjis + "\r\n";  // next to ASCII and katakana
      ASSERT_EQ(to_euc(sjis), iconv_convert("EUC-JP", "UTF-8", *text)) << row << "-" << cell;
      ASSERT_EQ(to_jis(sjis), iconv_convert("ISO-2022-JP", "UTF-8", *text)) << row << "-" << cell;
      ASSERT_EQ(from_jis(to_jis(line)), line) << row << "-" << cell;
      ASSERT_EQ(from_euc(to_euc(line)), line) << row << "-" << cell;
      ASSERT_EQ(from_utf8(to_utf8(line)), line) << row << "-" << cell;
      const auto cp932 = iconv_convert("CP932", "UTF-8", *text);
      if (!cp932 || cp932->size() != 2) continue;
      const unsigned glibc = static_cast<unsigned char>((*cp932)[0]) << 8 | static_cast<unsigned char>((*cp932)[1]);
      if (jms_to_jis(glibc) == 0) continue;  // mapped to a vendor duplicate
      ++compared;
      EXPECT_EQ(jms_to_jis(glibc), jis) << row << "-" << cell;
    }
  EXPECT_EQ(characters, 6879);
  EXPECT_GT(compared, 6800);
}

}  // namespace
}  // namespace vintorel
