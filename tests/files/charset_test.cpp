// Tests of character-set detection and of the line converters between the internal
// Shift_JIS form and ISO-2022-JP, EUC-JP and UTF-8.
#include "files/charset.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "files/reference_detect.h"
#include "platform/cp932.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

struct detected {
  int charset_code;
  int linefeed_code;
  bool operator==(const detected&) const = default;
};

std::ostream& operator<<(std::ostream& os, const detected& d) {
  return os << "{" << d.charset_code << ", " << d.linefeed_code << "}";
}

detected detect_bytes(const std::string& bytes) {
  detected d{};
  detect_charset_bytes(bytes.data(), bytes.size(), d.charset_code, d.linefeed_code);
  return d;
}

class temp_file {
 public:
  explicit temp_file(const std::string& bytes) {
    char name[] = "/tmp/vintorel_charset_XXXXXX";
    const int fd = mkstemp(name);
    path_ = name;
    if (fd >= 0) {
      EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
      close(fd);
    }
  }
  ~temp_file() { unlink(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

detected detect_file(const std::string& bytes) {
  temp_file file(bytes);
  detected d{};
  detect_charset(file.path(), d.charset_code, d.linefeed_code);
  return d;
}

detected reference_detect(const std::string& bytes) {
  detected d{};
  test_support::reference_detect(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                 d.charset_code, d.linefeed_code);
  return d;
}

TEST(charset, names_and_cycles) {
  EXPECT_STREQ(charset_name(shift_jis), "SJIS");
  EXPECT_STREQ(charset_name(iso2022jp), "JIS");
  EXPECT_STREQ(charset_name(euc_jp), "EUCJ");
  EXPECT_STREQ(charset_name(utf8), "UTF8");
  EXPECT_STREQ(charset_name(binary), "");
  EXPECT_STREQ(linefeed_name(crlf), "CRLF");
  EXPECT_STREQ(linefeed_name(lf), "LF");
  EXPECT_STREQ(linefeed_name(cr), "CR");
  EXPECT_STREQ(linefeed_name(0), "");
  EXPECT_EQ(next_charset(shift_jis), iso2022jp);
  EXPECT_EQ(next_charset(euc_jp), utf8);
  EXPECT_EQ(next_charset(utf8), shift_jis);
  EXPECT_EQ(next_charset(binary), binary);
  EXPECT_EQ(next_charset(7), 7);
  EXPECT_EQ(next_linefeed(crlf), lf);
  EXPECT_EQ(next_linefeed(cr), crlf);
  EXPECT_EQ(next_linefeed(0), 0);
}

TEST(detect, missing_or_empty_file_is_shift_jis_crlf) {
  detected d{0, 0};
  detect_charset("/nonexistent/vintorel/file.txt", d.charset_code, d.linefeed_code);
  EXPECT_EQ(d, (detected{shift_jis, crlf}));
  EXPECT_EQ(detect_file(""), (detected{shift_jis, crlf}));
}

TEST(detect, fifo_or_directory_is_not_read_and_never_blocks) {
  test_support::scratch_dir scratch;
  ASSERT_FALSE(scratch.dir().empty());
  const std::string fifo = scratch / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  detected d{0, 0};
  detect_charset(fifo, d.charset_code, d.linefeed_code);  // would hang in open() without a writer
  EXPECT_EQ(d, (detected{shift_jis, crlf}));
  detect_charset(scratch.dir(), d.charset_code, d.linefeed_code);
  EXPECT_EQ(d, (detected{shift_jis, crlf}));
}

TEST(detect, ascii_file_is_read_to_its_end) {
  // The last line end decides, however far into the file it is.
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "plain ascii line\twith a tab\r\n";
  text += "last\n";
  EXPECT_EQ(detect_file(text), (detected{shift_jis, lf}));
  EXPECT_EQ(detect_file(text + "x\ry"), (detected{shift_jis, cr}));
  EXPECT_EQ(detect_file(text + "\x1b$B"), (detected{iso2022jp, lf}));
  EXPECT_EQ(detect_file(text + std::string(1, '\0')), (detected{binary, lf}));
}

TEST(detect, stopping_rules) {
  // A kanji that keeps every hypothesis alive: the scan goes on and the last line end wins.
  EXPECT_EQ(detect_file("\x88\x9f\r\nb\n"), (detected{shift_jis, lf}));
  // All three hypotheses fail at 0x40: the scan stops at the first line end.
  EXPECT_EQ(detect_file("\xe8\x40\r\nb\n"), (detected{shift_jis, crlf}));
  // Nothing after the stop counts, not even a NUL or an ESC.
  EXPECT_EQ(detect_file(std::string("\xe8\x40\r\n\0\x1b", 6)), (detected{shift_jis, crlf}));
  // Once the charset is fixed, later ESC/0xFD/NUL bytes still override it while
  // the scan looks for a line end.
  EXPECT_EQ(detect_file("\xe8\x40\x1b$B\n"), (detected{iso2022jp, lf}));
  EXPECT_EQ(detect_file("\x1b$B\xfe\r\n"), (detected{euc_jp, crlf}));
  EXPECT_EQ(detect_file(std::string("\x1b\0\n", 3)), (detected{binary, crlf}));
  // The charset decides first and the scan then stops at the first line end.
  EXPECT_EQ(detect_file("a\x1b\nb\r\n"), (detected{iso2022jp, lf}));
  EXPECT_EQ(detect_file("\xa4\xa2\xfd\r\n\n"), (detected{euc_jp, crlf}));
}

TEST(detect, each_hypothesis_rule_at_its_boundary) {
  // Each prefix leaves one hypothesis alive and then tests the rule that may end it.
  // When it ends, the scan stops at the first line end (CRLF); otherwise it reads on
  // to the LF.
  const struct {
    const char* prefix;
    bool stops;
  } cases[] = {
      // EUC-JP last (ASCII and UTF-8 already out after 0xF0).
      {"\xf0\xa1\x8d", true}, {"\xf0\xa1\x8e\xa0", false}, {"\xf0\xa1\x90", true},
      {"\xf0\xa1\x9f", true}, {"\xf0\xa1\xa0\xa0", false}, {"\xf0\xa1\x8e\x41", true},
      {"\xf0\xa1\x8e\xdf", false}, {"\xf0\xa1\x8e\xe0", true}, {"\xf0\xa1\x8f\x9f", true},
      {"\xf0\xa1\x8f\xa0", false}, {"\xf0\xa1" "a\xa0" "A", true}, {"\xf0\xa1" "a\xa0\xa0", false},
      // UTF-8 last (ASCII and EUC-JP already out after 0x80).
      {"\x80\xf0", true}, {"\x80\xef\xbf\xbf", false}, {"\x80\xdf" "A", true}, {"\x80\xdf\xbf", false},
      {"\x80\xdf\xc0", true}, {"\x80\xc0" "A", true}, {"\x80\xbf" "A", false}, {"\x80\xe0\x80" "A", true},
      {"\x80\xe0\x80\x80", false}, {"\x80\xef\x80" "A", true},
  };
  for (const auto& c : cases) {
    const std::string bytes = std::string(c.prefix) + "\r\nb\n";
    EXPECT_EQ(detect_bytes(bytes), (detected{shift_jis, c.stops ? crlf : lf})) << ::testing::PrintToString(bytes);
    EXPECT_EQ(reference_detect(bytes), detect_bytes(bytes));
  }
}

TEST(detect, line_end_edge_cases) {
  EXPECT_EQ(detect_file("abc\r"), (detected{shift_jis, cr}));
  EXPECT_EQ(detect_file("\r"), (detected{shift_jis, cr}));
  EXPECT_EQ(detect_file("a\rb"), (detected{shift_jis, cr}));
  EXPECT_EQ(detect_file("a\r\x1a\n"), (detected{shift_jis, cr}));  // CR right before end-of-text
  EXPECT_EQ(detect_file("a\nb\r"), (detected{shift_jis, lf}));     // a fixed line end is not overridden at the end
  EXPECT_EQ(detect_file("a\r\n\rb"), (detected{shift_jis, cr}));
  EXPECT_EQ(detect_file("a\x1a\x1b\0"), (detected{shift_jis, crlf}));  // nothing after end-of-text counts
  EXPECT_EQ(detect_file("abc"), (detected{shift_jis, crlf}));
}

TEST(detect, utf8_and_euc_text_are_never_reported_as_such) {
  EXPECT_EQ(detect_file("\xe3\x81\x82\xe3\x81\x84\n"), (detected{shift_jis, lf}));
  EXPECT_EQ(detect_file("\xa4\xa2\xa4\xa4\r\n"), (detected{shift_jis, crlf}));
}

TEST(detect, file_and_memory_scans_agree_with_the_plain_rules) {
  // Random texts over the bytes the rules look at, some long enough to cross the
  // file reader's block boundary.
  const unsigned char alphabet[] = {'a', ' ', '\t', '\r', '\n', 0x1A, 0x1B, 0x00, 0x80, 0x88, 0x8E, 0x8F, 0x9F,
                                    0xA0, 0xA4, 0xB1, 0xC3, 0xDF, 0xE3, 0xE8, 0xEF, 0xF0, 0xFD, 0xFE, 0x40, 0x81};
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
    ASSERT_EQ(detect_bytes(bytes), reference_detect(bytes)) << ::testing::PrintToString(bytes);
  }
  for (int round = 0; round < 20; ++round) {
    std::string bytes(300000, 'x');
    for (int i = 0; i < 30; ++i) bytes[random() % bytes.size()] = static_cast<char>(alphabet[random() % 7]);
    bytes[262143 + round % 3] = '\r';  // line ends right at the block edge
    bytes[262144 + round % 3] = round % 2 ? '\n' : 'y';
    ASSERT_EQ(detect_file(bytes), reference_detect(bytes));
  }
}

// ---------------------------------------------------------------------------
// Decoders

std::string decoded(void (*decode)(char*), std::string line) {
  line.push_back('\0');
  decode(line.data());
  return std::string(line.c_str());
}

TEST(jis_decoder, escapes_select_modes) {
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$B$\"\x1b(BA\r\n"), "\x82\xa0" "A\r\n");
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$@0!\x1b(J!"), "\x88\x9f!");
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b(I1!_\x1b(Bx"), "\xb1\xa1\xdfx");
  // Half-width katakana cancel kanji mode.
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$B$\"\x1b(I1$\""), "\x82\xa0\xb1\xa4\xa2");
  // An unknown escape is left in place.
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "a\x1b$Zb"), "a\x1b$Zb");
}

TEST(jis_decoder, line_ends_and_truncated_input) {
  // A line that forgets to return to ASCII keeps its line end.
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$B$\"\r\n"), "\x82\xa0\r\n");
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b(I1\r\n"), "\xb1\r\n");
  // Half a kanji before the end or before a line end.
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$B$\"$"), "\x82\xa0?");
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$B$\r\n"), "?\r\n");
  // Escapes cut off by the end of the line stay; one right before the end is removed.
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "a\x1b"), "a\x1b");
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "a\x1b$"), "a\x1b$");
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "a\x1b$B"), "a");
  // A code outside JIS X 0208 becomes the full-width question mark.
  EXPECT_EQ(decoded(jis_to_sjis_in_place, "\x1b$B\x7f!"), "\x81\x48");
}

TEST(euc_decoder, single_shifts_and_codes) {
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "\xa4\xa2" "A\xb0\xa1\r\n"), "\x82\xa0" "A\x88\x9f\r\n");
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "\x8e\xb1\x8e\xdf"), "\xb1\xdf");
  // JIS X 0212 (single shift 3) has no Shift_JIS form.
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "\x8f\xb0\xa1x"), "\x81\x48x");
  // Codes that do not map.
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "\xa4" "A\xff\xff"), "\x81\x48\x81\x48");
}

TEST(euc_decoder, truncated_input_stays_inside_the_line) {
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "a\xa4"), "a?");
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "\xa4\r\n"), "?\r\n");
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "a\x8e"), "a");
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "a\x8f"), "a");
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "a\x8f\xb0"), "a?");
  EXPECT_EQ(decoded(euc_to_sjis_in_place, "\x8f\r\n"), "\r\n");
}

TEST(utf8_decoder, converts_and_replaces) {
  EXPECT_EQ(decoded(utf8_to_sjis_in_place, "\xe3\x81\x82" "A\xef\xbd\xb1\r\n"), "\x82\xa0" "A\xb1\r\n");
  EXPECT_EQ(decoded(utf8_to_sjis_in_place, "\xef\xbb\xbfx"), "?x");       // the byte-order mark is not special
  EXPECT_EQ(decoded(utf8_to_sjis_in_place, "\xf0\x9f\x98\x80"), "?");      // no Shift_JIS form
  EXPECT_EQ(decoded(utf8_to_sjis_in_place, "a\xe3\x81"), "a?");            // cut off at the end
}

TEST(decoders, byte_string_variants_and_dispatch) {
  byte_string line = "\x1b$B$\"\x1b(B\r\n";
  jis_to_sjis_in_place(line);
  EXPECT_EQ(line, "\x82\xa0\r\n");
  line = "\xa4\xa2\r\n";
  euc_to_sjis_in_place(line);
  EXPECT_EQ(line, "\x82\xa0\r\n");
  line = "\xe3\x81\x82\r\n";
  utf8_to_sjis_in_place(line);
  EXPECT_EQ(line, "\x82\xa0\r\n");

  const byte_string sjis = "\x82\xa0\r\n";
  line = "\x1b$B$\"\r\n";
  decode_in_place(line, iso2022jp);
  EXPECT_EQ(line, sjis);
  line = "\xa4\xa2\r\n";
  decode_in_place(line, euc_jp);
  EXPECT_EQ(line, sjis);
  line = "\xe3\x81\x82\r\n";
  decode_in_place(line, utf8);
  EXPECT_EQ(line, sjis);
  line = "\xa4\xa2\r\n";
  decode_in_place(line, shift_jis);
  EXPECT_EQ(line, "\xa4\xa2\r\n");
}

// ---------------------------------------------------------------------------
// Encoders

using size_function = std::size_t (*)(const char*);
using encoder_function = bool (*)(char*, std::size_t, const char*);

// Encodes with a buffer of exactly the size function's result and checks the
// result fills it exactly (for exact sizes) or fits (for the UTF-8 bound).
std::string encoded(size_function size, encoder_function encode, const std::string& line, bool exact = true) {
  const std::size_t n = size(line.c_str());
  std::vector<char> buffer(n, '\x55');
  EXPECT_TRUE(encode(buffer.data(), n, line.c_str()));
  const std::size_t length = strnlen(buffer.data(), n);
  if (exact) {
    EXPECT_EQ(length + 1, n);
  }
  EXPECT_LT(length, n);
  return std::string(buffer.data(), length);
}

std::string to_jis(const std::string& line) { return encoded(sjis_to_jis_size, sjis_to_jis, line); }
std::string to_euc(const std::string& line) { return encoded(sjis_to_euc_size, sjis_to_euc, line); }
std::string to_utf8(const std::string& line) { return encoded(sjis_to_utf8_size, sjis_to_utf8, line, false); }

TEST(encoders, iso2022jp_escapes) {
  EXPECT_EQ(to_jis("\x82\xa0" "A\r\n"), "\x1b$B$\"\x1b(BA\r\n");
  EXPECT_EQ(to_jis("\xb1\xb2\r\n"), "\x1b(I12\x1b(B\r\n");
  EXPECT_EQ(to_jis("\x82\xa0\xb1\x82\xa0\x1a"), "\x1b$B$\"\x1b(I1\x1b$B$\"\x1b(B\x1a");
  // A line ending in a mode returns to ASCII before the terminator.
  EXPECT_EQ(sjis_to_jis_size("\x82\xa0"), 3 + 2 + 3 + 1u);
  EXPECT_EQ(to_jis("plain"), "plain");
}

TEST(encoders, euc_and_utf8_forms) {
  EXPECT_EQ(to_euc("\x82\xa0" "A\xb1\r\n"), "\xa4\xa2" "A\x8e\xb1\r\n");
  EXPECT_EQ(sjis_to_euc_size("\x82\xa0" "A\xb1"), 2 + 1 + 2 + 1u);
  EXPECT_EQ(to_utf8("\x82\xa0" "A\xb1\r\n"), "\xe3\x81\x82" "A\xef\xbd\xb1\r\n");
  EXPECT_EQ(sjis_to_utf8_size("\x82\xa0" "A\xb1"), 3 + 1 + 3 + 1u);
}

TEST(encoders, characters_outside_jis_x_0208_become_the_full_width_question_mark) {
  // 0xFA40 is a vendor extension (small roman numeral one).
  EXPECT_EQ(to_jis("\xfa\x40"), "\x1b$B!)\x1b(B");
  EXPECT_EQ(to_euc("\xfa\x40"), "\xa1\xa9");
  EXPECT_EQ(to_utf8("\xfa\x40"), "\xe2\x85\xb0");  // it has a Unicode form, though
}

TEST(encoders, stray_lead_bytes_never_swallow_line_ends_or_the_terminator) {
  EXPECT_EQ(to_jis("a\x82"), "a\x1b$B!)\x1b(B");
  EXPECT_EQ(to_jis("a\x82\r\n"), "a\x1b$B!)\x1b(B\r\n");
  EXPECT_EQ(to_euc("a\x82"), "a\xa1\xa9");
  EXPECT_EQ(to_euc("\x82\r\n"), "\xa1\xa9\r\n");
  EXPECT_EQ(to_utf8("a\x82"), "a?");
  EXPECT_EQ(to_utf8("\x82\r\n"), "?\r\n");
  EXPECT_EQ(to_utf8("\xfd\xfd"), "?");  // an invalid pair, taken whole
}

TEST(encoders, too_small_a_buffer_returns_false_without_writing_past_it) {
  const std::string lines[] = {"\x82\xa0" "A\xb1\r\n", "", "abc", "\xb1", "\x82"};
  const struct {
    size_function size;
    encoder_function encode;
  } pairs[] = {{sjis_to_jis_size, sjis_to_jis}, {sjis_to_euc_size, sjis_to_euc}, {sjis_to_utf8_size, sjis_to_utf8}};
  for (const auto& line : lines)
    for (const auto& p : pairs) {
      // The exact sizes are exact; for UTF-8 the real length decides.
      std::vector<char> full(p.size(line.c_str()));
      ASSERT_TRUE(p.encode(full.data(), full.size(), line.c_str()));
      const std::size_t needed = strnlen(full.data(), full.size()) + 1;
      for (std::size_t capacity = 0; capacity < needed; ++capacity) {
        std::vector<char> buffer(capacity + 8, '\x55');
        EXPECT_FALSE(p.encode(buffer.data(), capacity, line.c_str()));
        for (std::size_t i = capacity; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '\x55');
      }
    }
}

// ---------------------------------------------------------------------------
// Round trips and agreement with glibc's converters

std::string iconv_convert(const char* to, const char* from, const std::string& in, bool& ok) {
  iconv_t cd = iconv_open(to, from);
  ok = false;
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(in.size() * 4 + 16, '\0');
  char* in_ptr = const_cast<char*>(in.data());
  std::size_t in_left = in.size();
  char* out_ptr = out.data();
  std::size_t out_left = out.size();
  ok = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1) && in_left == 0 &&
       iconv(cd, nullptr, nullptr, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

TEST(encoders, agree_with_glibc_on_every_jis_x_0208_character) {
  int characters = 0;
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const std::string euc = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
      bool ok;
      const std::string text = iconv_convert("UTF-8", "EUC-JP", euc, ok);
      if (!ok) continue;
      ++characters;
      const unsigned code = jis_to_jms((row + 0x20) << 8 | (cell + 0x20));
      const std::string sjis = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      ASSERT_EQ(to_euc(sjis), iconv_convert("EUC-JP", "UTF-8", text, ok)) << row << "-" << cell;
      ASSERT_TRUE(ok);
      ASSERT_EQ(to_jis(sjis), iconv_convert("ISO-2022-JP", "UTF-8", text, ok)) << row << "-" << cell;
      ASSERT_TRUE(ok);
    }
  EXPECT_EQ(characters, 6879);
}

TEST(encoders, shift_jis_form_agrees_with_glibc_cp932) {
  // Where code page 932 and EUC-JP give a JIS X 0208 character the same Unicode
  // form, glibc's own Shift_JIS code must be ours.
  int compared = 0;
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const std::string euc = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
      bool ok;
      const std::string text = iconv_convert("UTF-8", "EUC-JP", euc, ok);
      if (!ok) continue;
      const std::string sjis = iconv_convert("CP932", "UTF-8", text, ok);
      if (!ok || sjis.size() != 2) continue;
      const unsigned code = static_cast<unsigned char>(sjis[0]) << 8 | static_cast<unsigned char>(sjis[1]);
      if (jms_to_jis(code) == 0) continue;  // mapped to a vendor duplicate
      ++compared;
      EXPECT_EQ(jms_to_jis(code), (row + 0x20) << 8 | (cell + 0x20)) << row << "-" << cell;
    }
  EXPECT_GT(compared, 6800);
}

TEST(round_trip, every_jis_x_0208_character_and_half_width_katakana) {
  std::string line;
  for (unsigned row = 1; row <= 94; ++row) {
    line.clear();
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const unsigned code = jis_to_jms((row + 0x20) << 8 | (cell + 0x20));
      line += static_cast<char>(code >> 8);
      line += static_cast<char>(code & 0xFF);
      if (cell % 10 == 0) line += "a\xb1";  // mix in ASCII and katakana
    }
    line += "\r\n";
    EXPECT_EQ(decoded(jis_to_sjis_in_place, to_jis(line)), line) << row;
    EXPECT_EQ(decoded(euc_to_sjis_in_place, to_euc(line)), line) << row;
  }
  std::string kana;
  for (unsigned b = 0xA1; b <= 0xDF; ++b) kana += static_cast<char>(b);
  kana += "\x1a";
  EXPECT_EQ(decoded(jis_to_sjis_in_place, to_jis(kana)), kana);
  EXPECT_EQ(decoded(euc_to_sjis_in_place, to_euc(kana)), kana);
  EXPECT_EQ(decoded(utf8_to_sjis_in_place, to_utf8(kana)), kana);
}

TEST(round_trip, utf8_for_every_character_with_a_unicode_form) {
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!is_lead_byte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const unsigned code = lead << 8 | trail;
      const char16_t u = sjis_char_to_unicode(code);
      // Duplicates (NEC and IBM rows) come back as the preferred code of the same character.
      if (u == 0 || unicode_to_sjis_char(u) != code) continue;
      const std::string line = {static_cast<char>(lead), static_cast<char>(trail), '\r', '\n'};
      ASSERT_EQ(decoded(utf8_to_sjis_in_place, to_utf8(line)), line) << std::hex << code;
    }
  }
}

}  // namespace
}  // namespace vintorel
