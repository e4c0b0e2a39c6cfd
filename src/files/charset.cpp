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
struct quiet_table {
  bool quiet[256] = {};
  quiet_table() {
    for (int c = 1; c < 0x80; ++c) quiet[c] = true;
    quiet[line_feed] = quiet[carriage_return] = quiet[end_of_text] = quiet[escape] = false;
  }
};
const quiet_table quiet_bytes;

// Index of the first byte at or after i that is not quiet (or n).
std::size_t skip_quiet(const unsigned char* d, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
  const __m128i lf_bytes = _mm_set1_epi8(line_feed);
  const __m128i cr_bytes = _mm_set1_epi8(carriage_return);
  const __m128i eot_bytes = _mm_set1_epi8(end_of_text);
  const __m128i esc_bytes = _mm_set1_epi8(escape);
  const __m128i zero = _mm_setzero_si128();
  while (n - i >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i special = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, lf_bytes), _mm_cmpeq_epi8(v, cr_bytes)),
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, eot_bytes), _mm_cmpeq_epi8(v, esc_bytes)),
                     _mm_cmpeq_epi8(v, zero)));
    // The sign bit marks bytes of 0x80 and above.
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(special, v)));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    i += 16;
  }
#else
  constexpr std::uint64_t ones = 0x0101010101010101ULL;
  constexpr std::uint64_t highs = 0x8080808080808080ULL;
  // Eight printable ASCII bytes (0x20-0x7F) at a time; the rest byte by byte.
  while (n - i >= 8) {
    std::uint64_t x;
    std::memcpy(&x, d + i, 8);
    if (((x & highs) | ((x - 0x20 * ones) & ~x & highs)) != 0) break;
    i += 8;
  }
#endif
  while (i < n && quiet_bytes.quiet[d[i]]) ++i;
  return i;
}

struct detector {
  int charset_code = shift_jis;
  int linefeed_code = crlf;
  bool charset_fixed = false;
  bool linefeed_fixed = false;
  bool ascii_only = true;
  bool euc_possible = true;
  bool utf8_possible = true;
  unsigned p1 = 0;  // the previous byte
  unsigned p2 = 0;  // the one before it
  bool stopped = false;

  void final_check() {
    if (!linefeed_fixed && p1 == carriage_return) linefeed_code = cr;
  }

  // One byte of the state machine; true when the scan stops here.
  bool step(unsigned c) {
    if (c == nul) {
      charset_code = binary;
      return stopped = true;
    }
    if (c == end_of_text) {
      final_check();
      return stopped = true;
    }
    if (c == line_feed) {
      linefeed_code = p1 == carriage_return ? crlf : lf;
      linefeed_fixed = true;
    } else if (c == escape) {
      charset_code = iso2022jp;
      charset_fixed = true;
    } else if (c == 0xFD || c == 0xFE) {
      charset_code = euc_jp;
      charset_fixed = true;
    }
    if (p1 == carriage_return && c != line_feed) {
      linefeed_code = cr;
      linefeed_fixed = true;
    }
    if (!charset_fixed) {
      if (c >= 0x80) ascii_only = false;
      if ((c >= 0x80 && c <= 0x8D) || (c >= 0x90 && c <= 0x9F) || (p1 == 0x8E && !(c >= 0xA0 && c <= 0xDF)) ||
          (p1 == 0x8F && c < 0xA0) || (p2 < 0x80 && p1 >= 0xA0 && c < 0xA0))
        euc_possible = false;
      const bool continuation = c >= 0x80 && c < 0xC0;
      if (c >= 0xF0 ||
          (!continuation && ((p1 >= 0xC0 && p1 <= 0xDF) || (p1 >= 0xE0 && p1 <= 0xEF) || (p2 >= 0xE0 && p2 <= 0xEF))))
        utf8_possible = false;
      if (!ascii_only && !euc_possible && !utf8_possible) {
        charset_code = shift_jis;
        charset_fixed = true;
      }
    }
    if (charset_fixed && linefeed_fixed) return stopped = true;
    p2 = p1;
    p1 = c;
    return false;
  }

  // Feeds a block; true when the scan has stopped.
  bool feed(const unsigned char* d, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
      // After two ASCII bytes other than CR, a run of quiet bytes only moves p1 and
      // p2 along: no rule can fire on them. Long ASCII files are read to the end, so
      // this run skipping is what keeps detection fast for them.
      if (p1 < 0x80 && p1 != carriage_return && p2 < 0x80) {
        const std::size_t j = skip_quiet(d, i, n);
        if (j != i) {
          if (j - i >= 2) {
            p2 = d[j - 2];
            p1 = d[j - 1];
          } else {
            p2 = p1;
            p1 = d[i];
          }
          i = j;
          if (i == n) break;
        }
      }
      if (step(d[i])) return true;
      ++i;
    }
    return false;
  }

  void finish() {
    if (!stopped) final_check();
  }
};

}  // namespace

void detect_charset_bytes(const char* data, std::size_t size, int& charset_code, int& linefeed_code) {
  detector d;
  d.feed(reinterpret_cast<const unsigned char*>(data), size);
  d.finish();
  charset_code = d.charset_code;
  linefeed_code = d.linefeed_code;
}

void detect_charset(const std::string& path, int& charset_code, int& linefeed_code) {
  charset_code = shift_jis;
  linefeed_code = crlf;
  // O_NONBLOCK: a FIFO or device planted under the name must not hang the
  // caller in open or read; only regular files are examined.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return;
  }
  detector d;
  try {
    // Large reads for large files; a small file needs no large buffer.
    std::size_t block = 1 << 18;
    if (static_cast<std::uint64_t>(st.st_size) < block)
      block = static_cast<std::size_t>(st.st_size) + 4096;
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[block]);
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
  d.finish();
  charset_code = d.charset_code;
  linefeed_code = d.linefeed_code;
}

}  // namespace vintorel
