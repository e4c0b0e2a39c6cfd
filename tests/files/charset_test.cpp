// Tests of character-set detection and of the line converters between the internal
// Shift_JIS form and ISO-2022-JP, EUC-JP and UTF-8.
#include "files/charset.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cstring>
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

detected detect_file(const std::string& bytes) {
  test_support::scratch_dir dir;
  EXPECT_TRUE(test_support::write_bytes(dir / "t", bytes));
  detected d{};
  detect_charset(dir / "t", d.charset_code, d.linefeed_code);
  return d;
}

detected reference_detect(const std::string& bytes) {
  detected d{};
  test_support::reference_detect(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                 d.charset_code, d.linefeed_code);
  return d;
}

TEST(detect, small_files) {
  detected d{0, 0};
  detect_charset("/nonexistent/vintorel/file.txt", d.charset_code, d.linefeed_code);
  EXPECT_EQ(d, (detected{shift_jis, crlf}));
  const struct {
    std::string bytes;
    detected expected;
  } cases[] = {
      {"", {shift_jis, crlf}},
      // A kanji that keeps every hypothesis alive: the scan goes on and the last line end wins.
      {"\x88\x9f\r\nb\n", {shift_jis, lf}},
      // All three hypotheses fail at 0x40: the scan stops at the first line end,
      // and nothing after the stop counts, not even a NUL or an ESC.
      {"\xe8\x40\r\nb\n", {shift_jis, crlf}},
      {std::string("\xe8\x40\r\n\0\x1b", 6), {shift_jis, crlf}},
      // A fixed charset is still overridden by ESC/0xFD/NUL before a line end.
      {"\xe8\x40\x1b$B\n", {iso2022jp, lf}},
      {"\x1b$B\xfe\r\n", {euc_jp, crlf}},
      {std::string("\x1b\0\n", 3), {binary, crlf}},
      {"a\x1b\nb\r\n", {iso2022jp, lf}},
      {"\xa4\xa2\xfd\r\n\n", {euc_jp, crlf}},
      // Line ends.
      {"abc\r", {shift_jis, cr}},
      {"a\rb", {shift_jis, cr}},
      {"a\r\x1a\n", {shift_jis, cr}},  // CR right before end-of-text
      {"a\nb\r", {shift_jis, lf}},     // a fixed line end is not overridden at the end
      {"a\r\n\rb", {shift_jis, cr}},
      {"a\x1a\x1b\0", {shift_jis, crlf}},  // nothing after end-of-text counts
      {"abc", {shift_jis, crlf}},
      // UTF-8 and EUC-JP text are never reported as such.
      {"\xe3\x81\x82\xe3\x81\x84\n", {shift_jis, lf}},
      {"\xa4\xa2\xa4\xa4\r\n", {shift_jis, crlf}},
  };
  for (const auto& c : cases) EXPECT_EQ(detect_file(c.bytes), c.expected) << ::testing::PrintToString(c.bytes);
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

TEST(decoders, modes_replacements_and_truncated_input) {
  using decoder = void (*)(char*);
  const decoder jis = jis_to_sjis_in_place, euc = euc_to_sjis_in_place, utf = utf8_to_sjis_in_place;
  const struct {
    decoder decode;
    std::string in, out;
  } cases[] = {
      {jis, "\x1b$B$\"\x1b(BA\r\n", "\x82\xa0" "A\r\n"},
      {jis, "\x1b$@0!\x1b(J!", "\x88\x9f!"},
      {jis, "\x1b(I1!_\x1b(Bx", "\xb1\xa1\xdfx"},
      {jis, "\x1b$B$\"\x1b(I1$\"", "\x82\xa0\xb1\xa4\xa2"},  // katakana cancel kanji mode
      {jis, "a\x1b$Zb", "a\x1b$Zb"},                          // an unknown escape stays
      {jis, "\x1b$B$\"\r\n", "\x82\xa0\r\n"},  // no return to ASCII: the line end is kept
      {jis, "\x1b(I1\r\n", "\xb1\r\n"},
      {jis, "\x1b$B$\"$", "\x82\xa0?"},  // half a kanji before the end or a line end
      {jis, "\x1b$B$\r\n", "?\r\n"},
      {jis, "a\x1b", "a\x1b"},  // escapes cut off stay; one right before the end goes
      {jis, "a\x1b$", "a\x1b$"},
      {jis, "a\x1b$B", "a"},
      {jis, "\x1b$B\x7f!", "\x81\x48"},  // outside JIS X 0208
      {euc, "\xa4\xa2" "A\xb0\xa1\r\n", "\x82\xa0" "A\x88\x9f\r\n"},
      {euc, "\x8e\xb1\x8e\xdf", "\xb1\xdf"},
      {euc, "\x8f\xb0\xa1x", "\x81\x48x"},  // JIS X 0212 has no Shift_JIS form
      {euc, "\xa4" "A\xff\xff", "\x81\x48\x81\x48"},
      {euc, "a\xa4", "a?"},
      {euc, "\xa4\r\n", "?\r\n"},
      {euc, "a\x8e", "a"},
      {euc, "a\x8f", "a"},
      {euc, "a\x8f\xb0", "a?"},
      {euc, "\x8f\r\n", "\r\n"},
      {utf, "\xe3\x81\x82" "A\xef\xbd\xb1\r\n", "\x82\xa0" "A\xb1\r\n"},
      {utf, "\xef\xbb\xbfx", "?x"},    // the byte-order mark is not special
      {utf, "\xf0\x9f\x98\x80", "?"},  // no Shift_JIS form
      {utf, "a\xe3\x81", "a?"},
  };
  for (const auto& c : cases) EXPECT_EQ(decoded(c.decode, c.in), c.out) << ::testing::PrintToString(c.in);
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

TEST(encoders, forms_escapes_and_replacements) {
  const struct {
    std::string (*encode)(const std::string&);
    std::string in, out;
  } cases[] = {
      {to_jis, "\x82\xa0" "A\r\n", "\x1b$B$\"\x1b(BA\r\n"},
      {to_jis, "\xb1\xb2\r\n", "\x1b(I12\x1b(B\r\n"},
      {to_jis, "\x82\xa0\xb1\x82\xa0\x1a", "\x1b$B$\"\x1b(I1\x1b$B$\"\x1b(B\x1a"},
      {to_jis, "plain", "plain"},
      {to_euc, "\x82\xa0" "A\xb1\r\n", "\xa4\xa2" "A\x8e\xb1\r\n"},
      {to_utf8, "\x82\xa0" "A\xb1\r\n", "\xe3\x81\x82" "A\xef\xbd\xb1\r\n"},
      // 0xFA40, a vendor extension, is outside JIS X 0208 but has a Unicode form.
      {to_jis, "\xfa\x40", "\x1b$B!)\x1b(B"},
      {to_euc, "\xfa\x40", "\xa1\xa9"},
      {to_utf8, "\xfa\x40", "\xe2\x85\xb0"},
      // Stray lead bytes never swallow line ends or the terminator.
      {to_jis, "a\x82", "a\x1b$B!)\x1b(B"},
      {to_jis, "a\x82\r\n", "a\x1b$B!)\x1b(B\r\n"},
      {to_euc, "a\x82", "a\xa1\xa9"},
      {to_euc, "\x82\r\n", "\xa1\xa9\r\n"},
      {to_utf8, "a\x82", "a?"},
      {to_utf8, "\x82\r\n", "?\r\n"},
      {to_utf8, "\xfd\xfd", "?"},  // an invalid pair, taken whole
  };
  for (const auto& c : cases) EXPECT_EQ(c.encode(c.in), c.out) << ::testing::PrintToString(c.in);
  EXPECT_EQ(sjis_to_jis_size("\x82\xa0"), 3 + 2 + 3 + 1u);  // back to ASCII before the end
  EXPECT_EQ(sjis_to_euc_size("\x82\xa0" "A\xb1"), 2 + 1 + 2 + 1u);
  EXPECT_EQ(sjis_to_utf8_size("\x82\xa0" "A\xb1"), 3 + 1 + 3 + 1u);
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
  // Where code page 932 and EUC-JP give a character the same Unicode form,
  // glibc's own Shift_JIS code must be ours too.
  int characters = 0, compared = 0;
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const std::string euc = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
      bool ok;
      const std::string text = iconv_convert("UTF-8", "EUC-JP", euc, ok);
      if (!ok) continue;
      ++characters;
      const unsigned jis = (row + 0x20) << 8 | (cell + 0x20), code = jis_to_jms(jis);
      const std::string sjis = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      ASSERT_EQ(to_euc(sjis), iconv_convert("EUC-JP", "UTF-8", text, ok)) << row << "-" << cell;
      ASSERT_TRUE(ok);
      ASSERT_EQ(to_jis(sjis), iconv_convert("ISO-2022-JP", "UTF-8", text, ok)) << row << "-" << cell;
      ASSERT_TRUE(ok);
      const std::string cp932 = iconv_convert("CP932", "UTF-8", text, ok);
      if (!ok || cp932.size() != 2) continue;
      const unsigned glibc = static_cast<unsigned char>(cp932[0]) << 8 | static_cast<unsigned char>(cp932[1]);
      if (jms_to_jis(glibc) == 0) continue;  // mapped to a vendor duplicate
      ++compared;
      EXPECT_EQ(jms_to_jis(glibc), jis) << row << "-" << cell;
    }
  EXPECT_EQ(characters, 6879);
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
