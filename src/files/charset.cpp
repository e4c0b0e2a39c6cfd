// Character sets and line ends of files, their detection, and the line converters
// between the internal Shift_JIS form and ISO-2022-JP, EUC-JP and UTF-8.
//
// One rule holds in every converter here: a control byte (below 0x20: CR, LF, tab,
// end-of-text, the NUL) is never joined to the byte before it as the second half of
// a double-byte character, nor changed by a shift mode. A stray lead byte before a
// line end therefore cannot swallow the line end, and no converter reads past the
// terminating NUL.
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

#include "platform/cp932.h"

namespace vintorel {

const char* charset_name(int code) {
  switch (code) {
    case shift_jis: return "SJIS";
    case iso2022jp: return "JIS";
    case euc_jp: return "EUCJ";
    case utf8: return "UTF8";
    default: return "";
  }
}

const char* linefeed_name(int code) {
  switch (code) {
    case crlf: return "CRLF";
    case lf: return "LF";
    case cr: return "CR";
    default: return "";
  }
}

int next_charset(int code) {
  if (code >= shift_jis && code < utf8) return code + 1;
  return code == utf8 ? shift_jis : code;
}

int next_linefeed(int code) {
  if (code >= crlf && code < cr) return code + 1;
  return code == cr ? crlf : code;
}

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

// ---------------------------------------------------------------------------
// Decoders. Each works in place over line[0, length) and returns the new length;
// the write position never passes the read position.

namespace {

constexpr unsigned replacement_sjis = 0x8148;  // full-width question mark
constexpr unsigned replacement_jis = 0x2129;
constexpr unsigned replacement_euc = 0xA1A9;

bool is_control(unsigned char c) { return c < 0x20; }

std::size_t put_sjis_code(unsigned char* s, std::size_t w, unsigned code) {
  s[w++] = static_cast<unsigned char>(code >> 8);
  s[w++] = static_cast<unsigned char>(code & 0xFF);
  return w;
}

std::size_t decode_jis(char* line, std::size_t length) {
  auto* s = reinterpret_cast<unsigned char*>(line);
  bool kanji = false;
  bool kana = false;
  std::size_t r = 0;
  std::size_t w = 0;
  while (r < length) {
    if (s[r] == escape) {
      if (length - r >= 3) {
        const unsigned char a = s[r + 1];
        const unsigned char b = s[r + 2];
        bool recognised = true;
        if (a == '$' && (b == '@' || b == 'B')) {
          kanji = true;
          kana = false;
        } else if (a == '(' && (b == 'B' || b == 'J')) {
          kanji = kana = false;
        } else if (a == '(' && b == 'I') {
          kana = true;
          kanji = false;
        } else {
          recognised = false;
        }
        if (recognised) {
          r += 3;
          continue;
        }
      }
      s[w++] = s[r++];  // an unknown escape stays as it is
      continue;
    }
    const unsigned char c = s[r];
    if (is_control(c) || (!kanji && !kana)) {
      s[w++] = c;
      ++r;
    } else if (kana) {
      s[w++] = static_cast<unsigned char>(c + 0x80);
      ++r;
    } else if (r + 1 < length && !is_control(s[r + 1])) {
      const unsigned sjis = jis_to_jms(static_cast<unsigned>(c) << 8 | s[r + 1]);
      w = put_sjis_code(s, w, sjis ? sjis : replacement_sjis);
      r += 2;
    } else {
      s[w++] = '?';  // half a kanji before a control byte or the end: no room for a full-width mark
      ++r;
    }
  }
  return w;
}

std::size_t decode_euc(char* line, std::size_t length) {
  auto* s = reinterpret_cast<unsigned char*>(line);
  bool single_shift_3 = false;
  std::size_t r = 0;
  std::size_t w = 0;
  while (r < length) {
    const unsigned char c = s[r];
    if (c < 0x80) {
      s[w++] = c;
      ++r;
      single_shift_3 = false;
    } else if (c == 0x8E) {
      // Single shift 2: the half-width katakana after it is kept as it is.
      ++r;
      if (r < length) s[w++] = s[r++];
      single_shift_3 = false;
    } else if (c == 0x8F) {
      ++r;
      single_shift_3 = true;
    } else if (r + 1 < length && !is_control(s[r + 1])) {
      // A JIS X 0212 character (after single shift 3) has no Shift_JIS form; mapping
      // its code as JIS X 0208 would give a different character.
      const unsigned sjis =
          single_shift_3 ? 0 : jis_to_jms(((static_cast<unsigned>(c) << 8) | s[r + 1]) - 0x8080u);
      w = put_sjis_code(s, w, sjis ? sjis : replacement_sjis);
      r += 2;
      single_shift_3 = false;
    } else {
      s[w++] = '?';
      ++r;
      single_shift_3 = false;
    }
  }
  return w;
}

}  // namespace

void jis_to_sjis_in_place(char* line) { line[decode_jis(line, std::strlen(line))] = '\0'; }
void euc_to_sjis_in_place(char* line) { line[decode_euc(line, std::strlen(line))] = '\0'; }
void utf8_to_sjis_in_place(char* line) {
  line[convert_utf8_to_sjis(line, std::strlen(line), line)] = '\0';
}

void jis_to_sjis_in_place(byte_string& line) { line.resize(decode_jis(line.data(), line.size())); }
void euc_to_sjis_in_place(byte_string& line) { line.resize(decode_euc(line.data(), line.size())); }
void utf8_to_sjis_in_place(byte_string& line) {
  line.resize(convert_utf8_to_sjis(line.data(), line.size(), line.data()));
}

void decode_in_place(byte_string& line, int charset_code) {
  switch (charset_code) {
    case iso2022jp: jis_to_sjis_in_place(line); break;
    case euc_jp: euc_to_sjis_in_place(line); break;
    case utf8: utf8_to_sjis_in_place(line); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Encoders. One walk over the internal form classifies each character; the size
// functions and the converters share it, so an exact size is exact by construction.

namespace {

// Calls v.single(b) for bytes below 0x80 (the terminating NUL last), v.kana(b),
// v.pair(code) for a double-byte character and v.lone() for a lead byte whose
// next byte is a control byte or the terminator.
template <class Visitor>
void walk_line(const char* source, Visitor& v) {
  const auto* s = reinterpret_cast<const unsigned char*>(source);
  std::size_t i = 0;
  for (;;) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      v.single(b);
      if (b == 0) return;
      ++i;
    } else if (is_kana(b)) {
      v.kana(b);
      ++i;
    } else if (!is_control(s[i + 1])) {  // s[i] is not the NUL, so s[i + 1] exists
      v.pair(static_cast<unsigned>(b) << 8 | s[i + 1]);
      i += 2;
    } else {
      v.lone();
      ++i;
    }
  }
}

// Collects output bytes, counting them or storing them within a capacity.
struct sink {
  unsigned char* dest = nullptr;  // null: count only
  std::size_t capacity = 0;
  std::size_t length = 0;
  bool overflow = false;

  void put(unsigned c) {
    if (dest) {
      if (length >= capacity) {
        overflow = true;
        return;
      }
      dest[length] = static_cast<unsigned char>(c);
    }
    ++length;
  }
  void put2(unsigned code) {
    put(code >> 8);
    put(code & 0xFF);
  }
};

struct jis_encoder {
  sink out;
  enum class shift { ascii, kanji, kana };
  shift mode = shift::ascii;

  void escape_to(shift wanted, char a, char b) {
    if (mode == wanted) return;
    out.put(escape);
    out.put(static_cast<unsigned char>(a));
    out.put(static_cast<unsigned char>(b));
    mode = wanted;
  }
  void single(unsigned char b) {
    escape_to(shift::ascii, '(', 'B');
    out.put(b);
  }
  void kana(unsigned char b) {
    escape_to(shift::kana, '(', 'I');
    out.put(b - 0x80u);
  }
  void pair(unsigned code) { put_kanji(jms_to_jis(code)); }
  void lone() { put_kanji(0); }
  void put_kanji(unsigned jis) {
    escape_to(shift::kanji, '$', 'B');
    out.put2(jis ? jis : replacement_jis);
  }
};

struct euc_encoder {
  sink out;
  void single(unsigned char b) { out.put(b); }
  void kana(unsigned char b) {
    out.put(0x8E);
    out.put(b);
  }
  void pair(unsigned code) {
    const unsigned jis = jms_to_jis(code);
    out.put2(jis ? jis + 0x8080 : replacement_euc);
  }
  void lone() { out.put2(replacement_euc); }
};

struct utf8_encoder {
  sink out;
  void single(unsigned char b) { out.put(b); }
  void kana(unsigned char b) { put_unicode(sjis_char_to_unicode(b)); }
  void pair(unsigned code) { put_unicode(sjis_char_to_unicode(code)); }
  void lone() { out.put('?'); }
  void put_unicode(char32_t u) {
    if (u == 0) {
      out.put('?');
    } else if (u < 0x80) {
      out.put(u);
    } else if (u < 0x800) {
      out.put(0xC0 | (u >> 6));
      out.put(0x80 | (u & 0x3F));
    } else {
      out.put(0xE0 | (u >> 12));
      out.put(0x80 | ((u >> 6) & 0x3F));
      out.put(0x80 | (u & 0x3F));
    }
  }
};

// The UTF-8 bound: 3 bytes for anything that is not ASCII.
struct utf8_bound {
  std::size_t length = 0;
  void single(unsigned char) { ++length; }
  void kana(unsigned char) { length += 3; }
  void pair(unsigned) { length += 3; }
  void lone() { length += 3; }
};

template <class Encoder>
bool encode(char* dest, std::size_t capacity, const char* source) {
  Encoder e;
  e.out.dest = reinterpret_cast<unsigned char*>(dest);
  e.out.capacity = capacity;
  walk_line(source, e);
  return !e.out.overflow;
}

template <class Encoder>
std::size_t encoded_size(const char* source) {
  Encoder e;
  walk_line(source, e);
  return e.out.length;
}

}  // namespace

std::size_t sjis_to_jis_size(const char* source) { return encoded_size<jis_encoder>(source); }
bool sjis_to_jis(char* dest, std::size_t capacity, const char* source) {
  return encode<jis_encoder>(dest, capacity, source);
}

std::size_t sjis_to_euc_size(const char* source) { return encoded_size<euc_encoder>(source); }
bool sjis_to_euc(char* dest, std::size_t capacity, const char* source) {
  return encode<euc_encoder>(dest, capacity, source);
}

std::size_t sjis_to_utf8_size(const char* source) {
  utf8_bound b;
  walk_line(source, b);
  return b.length;
}
bool sjis_to_utf8(char* dest, std::size_t capacity, const char* source) {
  return encode<utf8_encoder>(dest, capacity, source);
}

}  // namespace vintorel
