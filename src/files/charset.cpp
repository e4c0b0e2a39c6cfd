// Detection of a file's character set and line end from its first bytes.
#include "files/charset.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/fd_io.h"

namespace vintorel {

// ---------------------------------------------------------------------------
// Detection

namespace {

constexpr unsigned char nul = 0x00;
constexpr unsigned char line_feed = 0x0A;
constexpr unsigned char carriage_return = 0x0D;
constexpr unsigned char end_of_text = 0x1A;
constexpr unsigned char escape = 0x1B;

// Bytes that cannot change the detector's state once the two bytes before them are
// ASCII other than CR: everything below 0x80 except the five the rules look at.
// In a stretch of strict UTF-8 without bytes of 0xF0 or more, after the ASCII
// and EUC hypotheses failed, the bytes of 0x80 and more are quiet too (the
// UTF-8 hypothesis cannot fail there).
struct quiet_table {
  bool quiet[256] = {};
  bool quiet_in_utf8[256] = {};
  quiet_table() {
    for (int c = 1; c < 0x100; ++c) quiet_in_utf8[c] = true;
    for (int c = 1; c < 0x80; ++c) quiet[c] = true;
    for (unsigned char c : {line_feed, carriage_return, end_of_text, escape}) quiet[c] = quiet_in_utf8[c] = false;
  }
};
const quiet_table quiet_bytes;

// Index of the first byte at or after i that is not quiet (or n).
std::size_t skip_quiet(const unsigned char* d, std::size_t i, std::size_t n, bool high_quiet) {
#if defined(__SSE2__)
  const __m128i lf_bytes = _mm_set1_epi8(line_feed);
  const __m128i cr_bytes = _mm_set1_epi8(carriage_return);
  const __m128i eot_bytes = _mm_set1_epi8(end_of_text);
  const __m128i esc_bytes = _mm_set1_epi8(escape);
  const __m128i zero = _mm_setzero_si128();
  const __m128i high = high_quiet ? zero : _mm_set1_epi8(static_cast<char>(0x80));
  while (n - i >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i special = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, lf_bytes), _mm_cmpeq_epi8(v, cr_bytes)),
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, eot_bytes), _mm_cmpeq_epi8(v, esc_bytes)),
                     _mm_cmpeq_epi8(v, zero)));
    // The sign bit marks bytes of 0x80 and above, unless they are quiet.
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(special, _mm_and_si128(v, high))));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    i += 16;
  }
#else
  if (!high_quiet) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    // Eight printable ASCII bytes (0x20-0x7F) at a time; the rest byte by byte.
    while (n - i >= 8) {
      std::uint64_t x;
      std::memcpy(&x, d + i, 8);
      if (((x & highs) | ((x - 0x20 * ones) & ~x & highs)) != 0) break;
      i += 8;
    }
  }
#endif
  const bool* quiet = high_quiet ? quiet_bytes.quiet_in_utf8 : quiet_bytes.quiet;
  while (i < n && quiet[d[i]]) ++i;
  return i;
}

// Whether a byte of 0xF0 or more is among d[0, n).
bool has_byte_from_f0(const unsigned char* d, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i f0 = _mm_set1_epi8(static_cast<char>(0xF0));
  for (; n - i >= 16; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, f0), v)) != 0) return true;
  }
#endif
  for (; i < n; ++i)
    if (d[i] >= 0xF0) return true;
  return false;
}

// Index of the first byte at or after i that is 0x80 or more (or n).
std::size_t skip_ascii(const unsigned char* d, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
  while (n - i >= 16) {
    const unsigned mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i))));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    i += 16;
  }
#endif
  while (i < n && d[i] < 0x80) ++i;
  return i;
}

void final_check(charset_detector& d) {
  if (!d.linefeed_fixed && d.p1 == carriage_return) d.linefeed_code = cr;
}

// One byte of the classic state machine; true when the scan stops here.
bool step(charset_detector& d, unsigned c) {
  if (c == nul) {
    d.charset_code = binary;
    return d.classic_stopped = true;
  }
  if (c == end_of_text) {
    final_check(d);
    return d.classic_stopped = true;
  }
  if (c == line_feed) {
    d.linefeed_code = d.p1 == carriage_return ? crlf : lf;
    d.linefeed_fixed = true;
  } else if (c == escape) {
    d.charset_code = iso2022jp;
    d.charset_fixed = d.decided_by_byte = true;
  } else if (c == 0xFD || c == 0xFE) {
    d.charset_code = euc_jp;
    d.charset_fixed = d.decided_by_byte = true;
  }
  if (d.p1 == carriage_return && c != line_feed) {
    d.linefeed_code = cr;
    d.linefeed_fixed = true;
  }
  if (!d.charset_fixed) {
    const unsigned p1 = d.p1, p2 = d.p2;
    if (c >= 0x80) d.ascii_only = false;
    if ((c >= 0x80 && c <= 0x8D) || (c >= 0x90 && c <= 0x9F) || (p1 == 0x8E && !(c >= 0xA0 && c <= 0xDF)) ||
        (p1 == 0x8F && c < 0xA0) || (p2 < 0x80 && p1 >= 0xA0 && c < 0xA0))
      d.euc_possible = false;
    const bool continuation = c >= 0x80 && c < 0xC0;
    if (c >= 0xF0 ||
        (!continuation && ((p1 >= 0xC0 && p1 <= 0xDF) || (p1 >= 0xE0 && p1 <= 0xEF) || (p2 >= 0xE0 && p2 <= 0xEF))))
      d.utf8_possible = false;
    if (!d.ascii_only && !d.euc_possible && !d.utf8_possible) {
      d.charset_code = shift_jis;
      d.charset_fixed = true;
    }
  }
  if (d.charset_fixed && d.linefeed_fixed) return d.classic_stopped = true;
  d.p2 = d.p1;
  d.p1 = c;
  return false;
}

// The classic state machine over a block; the number of bytes it read (up to
// and including the one it stopped at). `utf8_clean`: the block is strict UTF-8
// without bytes of 0xF0 or more.
std::size_t feed_classic(charset_detector& d, const unsigned char* data, std::size_t n, bool utf8_clean) {
  // Then, once only the UTF-8 hypothesis is left, no byte of 0x80 or more can
  // change anything either: long UTF-8 files are read to the end, and this is
  // what keeps them as fast to detect as ASCII ones.
  const bool high_quiet = utf8_clean && !d.charset_fixed && !d.ascii_only && !d.euc_possible && d.utf8_possible;
  std::size_t i = 0;
  while (i < n) {
    // After two ASCII bytes other than CR, a run of quiet bytes only moves p1 and
    // p2 along: no rule can fire on them. Long ASCII files are read to the end, so
    // this run skipping is what keeps detection fast for them.
    if (high_quiet ? d.p1 != carriage_return : (d.p1 < 0x80 && d.p1 != carriage_return && d.p2 < 0x80)) {
      const std::size_t j = skip_quiet(data, i, n, high_quiet);
      if (j != i) {
        if (j - i >= 2) {
          d.p2 = data[j - 2];
          d.p1 = data[j - 1];
        } else {
          d.p2 = d.p1;
          d.p1 = data[i];
        }
        i = j;
        if (i == n) break;
      }
    }
    if (step(d, data[i])) return i + 1;
    ++i;
  }
  return n;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF) as an
// automaton over byte classes, so a byte costs two table lookups and no branch:
// classes 0 ASCII, 1 80-8F, 2 90-9F, 3 A0-BF, 4 never valid, 5 C2-DF, 6 E0,
// 7 E1-EC and EE-EF, 8 ED, 9 F0, 10 F1-F3, 11 F4. State 0 is between
// characters, 1 is the sink for invalid input; the others wait for
// continuation bytes in the range their lead allows.
struct utf8_tables {
  unsigned char byte_class[256];
  unsigned char next[9][12];
  utf8_tables() {
    for (int b = 0; b < 256; ++b) {
      byte_class[b] = b < 0x80   ? 0
                      : b < 0x90 ? 1
                      : b < 0xA0 ? 2
                      : b < 0xC0 ? 3
                      : b < 0xC2 ? 4
                      : b < 0xE0 ? 5
                      : b == 0xE0 ? 6
                      : b == 0xED ? 8
                      : b < 0xF0 ? 7
                      : b == 0xF0 ? 9
                      : b < 0xF4 ? 10
                      : b == 0xF4 ? 11
                                  : 4;
    }
    for (auto& row : next)
      for (auto& to : row) to = 1;
    next[0][0] = 0;
    next[0][5] = 2;  // one continuation byte due
    next[0][6] = 4;  // E0: A0-BF, then one more
    next[0][7] = 3;  // two due
    next[0][8] = 5;  // ED: 80-9F, then one more (no surrogates)
    next[0][9] = 7;  // F0: 90-BF, then two more
    next[0][10] = 6;  // three due
    next[0][11] = 8;  // F4: 80-8F, then two more (nothing past U+10FFFF)
    for (int c : {1, 2, 3}) {
      next[2][c] = 0;
      next[3][c] = 2;
      next[6][c] = 3;
    }
    next[4][3] = 2;
    next[5][1] = next[5][2] = 2;
    next[7][2] = next[7][3] = 3;
    next[8][1] = 3;
  }
};
const utf8_tables utf8_automaton;

void feed_utf8(charset_detector& d, const unsigned char* data, std::size_t n) {
  unsigned state = d.utf8_state;
  std::size_t i = 0;
  while (i < n) {
    if (state == 0) {
      i = skip_ascii(data, i, n);
      if (i == n) break;
      d.utf8_multibyte = true;
    }
    // Up to the next ASCII byte between characters, table steps only.
    do {
      state = utf8_automaton.next[state][utf8_automaton.byte_class[data[i]]];
      ++i;
    } while (i < n && (state != 0 || data[i] >= 0x80) && state != 1);
    if (state == 1) {
      d.utf8_valid = false;
      break;
    }
  }
  d.utf8_state = static_cast<unsigned char>(state);
}

}  // namespace

bool charset_detector::feed(const char* data, std::size_t size) {
  if (stopped) return true;
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  bool utf8_clean = false;
  if (guess_utf8_euc && !decided_by_byte && utf8_valid && !text_ended) {
    // The text ends before a 0x1A; the check reads up to it, whether or not the
    // classic rules stop earlier.
    std::size_t text = size;
    if (const void* end = std::memchr(data, end_of_text, size)) {
      text = static_cast<std::size_t>(static_cast<const char*>(end) - data);
      text_ended = true;
    }
    feed_utf8(*this, bytes, text);
    utf8_clean = utf8_valid && !has_byte_from_f0(bytes, text);
  }
  if (!classic_stopped) feed_classic(*this, bytes, size, utf8_clean);
  // No decision will be made after an ESC, 0xFD, 0xFE or NUL.
  if (!guess_utf8_euc || decided_by_byte || charset_code == binary) utf8_valid = false;
  stopped = classic_stopped && (!utf8_valid || text_ended);
  return stopped;
}

void charset_detector::finish(charset& charset_out, linefeed_kind& linefeed) {
  if (!classic_stopped) final_check(*this);
  charset_out = charset_code;
  linefeed = linefeed_code;
  // Never when an ESC, 0xFD, 0xFE or NUL decided.
  if (!guess_utf8_euc || decided_by_byte || charset_code == binary) return;
  if (utf8_valid && utf8_state == 0 && utf8_multibyte) {
    charset_out = utf8;
  } else if (euc_possible && !ascii_only) {
    charset_out = euc_jp;
  }
}

void detect_charset_bytes(const char* data, std::size_t size, charset& charset_code, linefeed_kind& linefeed_code,
                          bool guess_utf8_euc) {
  charset_detector d(guess_utf8_euc);
  d.feed(data, size);
  d.finish(charset_code, linefeed_code);
}

void detect_charset(const std::string& path, charset& charset_code, linefeed_kind& linefeed_code,
                    bool guess_utf8_euc) {
  charset_code = shift_jis;
  linefeed_code = crlf;
  // Only regular files are examined: a FIFO or device must not hang the caller.
  const int fd = open_regular_file(path);
  if (fd < 0) return;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return;
  }
  charset_detector d(guess_utf8_euc);
  try {
    // Large reads for large files; a small file needs no large buffer.
    std::size_t block = 1 << 18;
    if (static_cast<std::uint64_t>(st.st_size) < block)
      block = static_cast<std::size_t>(st.st_size) + 4096;
    std::unique_ptr<char[]> buffer(new char[block]);
    for (;;) {
      const ssize_t got = ::read(fd, buffer.get(), block);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;  // end of file, or a read error treated as one
      if (d.feed(buffer.get(), static_cast<std::size_t>(got))) break;
    }
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return;
  }
  ::close(fd);
  d.finish(charset_code, linefeed_code);
}

}  // namespace vintorel
