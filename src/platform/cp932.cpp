// Code page 932 (Shift_JIS) character rules and conversion to and from Unicode.
#include "platform/cp932.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

namespace vintorel {

bool is_kana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

unsigned jms_to_jis(unsigned sjis_code) {
  if (sjis_code > 0xFFFF) return 0;
  const unsigned lead = sjis_code >> 8;
  const unsigned trail = sjis_code & 0xFF;
  unsigned row_pair;  // rows 2 * row_pair + 1 and 2 * row_pair + 2
  if (lead >= 0x81 && lead <= 0x9F)
    row_pair = lead - 0x81;
  else if (lead >= 0xE0 && lead <= 0xEF)
    row_pair = lead - 0xC1;
  else
    return 0;
  unsigned row, cell;
  if (trail >= 0x40 && trail <= 0x7E) {
    row = 2 * row_pair + 1;
    cell = trail - 0x3F;
  } else if (trail >= 0x80 && trail <= 0x9E) {  // 0x7F is skipped
    row = 2 * row_pair + 1;
    cell = trail - 0x40;
  } else if (trail >= 0x9F && trail <= 0xFC) {
    row = 2 * row_pair + 2;
    cell = trail - 0x9E;
  } else {
    return 0;
  }
  return ((row + 0x20) << 8) | (cell + 0x20);
}

unsigned jis_to_jms(unsigned jis_code) {
  if (jis_code > 0xFFFF) return 0;
  const unsigned high = jis_code >> 8;
  const unsigned low = jis_code & 0xFF;
  if (high < 0x21 || high > 0x7E || low < 0x21 || low > 0x7E) return 0;
  const unsigned row = high - 0x20;
  const unsigned cell = low - 0x20;
  const unsigned lead = (row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0);
  unsigned trail;
  if (row % 2 == 1) {
    trail = cell + 0x3F;
    if (trail >= 0x7F) ++trail;
  } else {
    trail = cell + 0x9E;
  }
  return (lead << 8) | trail;
}

std::size_t previous_char(const char* text, std::size_t position) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < position) {
    start = i;
    i += is_lead_byte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return start;
}

namespace {

std::size_t char_length(char c) { return is_lead_byte(static_cast<unsigned char>(c)) ? 2 : 1; }

}  // namespace

std::size_t mbs_find(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (from > haystack.size()) return std::string_view::npos;
  if (needle.empty()) return from;
  // Where the needle's own last character ends: one past its length when it ends in
  // a lone lead byte, which in the haystack would swallow the byte after the match.
  std::size_t needle_end = 0;
  while (needle_end < needle.size()) needle_end += char_length(needle[needle_end]);

  const char* data = haystack.data();
  std::size_t pos = from;  // always a character start
  while (pos < haystack.size() && needle.size() <= haystack.size() - pos) {
    const void* hit = std::memchr(data + pos, needle[0], haystack.size() - needle.size() + 1 - pos);
    if (!hit) break;
    const std::size_t candidate = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
    while (pos < candidate) pos += char_length(data[pos]);
    if (pos == candidate) {
      const std::size_t match_end = candidate + needle.size();
      if (std::memcmp(data + candidate, needle.data(), needle.size()) == 0 &&
          (needle_end == needle.size() || match_end == haystack.size()))
        return candidate;
      pos += char_length(data[pos]);
    }
    // Otherwise the candidate was a second byte; pos is the next character start.
  }
  return std::string_view::npos;
}

int mbs_compare_nocase(const char* a, const char* b, std::size_t n) {
  bool second_byte = false;
  for (std::size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]);
    int cb = static_cast<unsigned char>(b[i]);
    if (!second_byte) {
      if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
      if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    }
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
    second_byte = !second_byte && is_lead_byte(static_cast<unsigned char>(a[i]));
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Unicode mapping. The tables are filled once from glibc's "CP932" converter, so
// each conversion is a table look-up and behaves the same whatever the bytes.

namespace {

bool valid_trail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

struct unicode_tables {
  // Index: a single byte b as b, a double-byte code as 0x100 + (lead - 0x80) * 256 + trail.
  std::vector<char16_t> to_unicode = std::vector<char16_t>(0x100 + 0x80 * 0x100, 0);
  // Index: a BMP code point; value: a single byte or a double-byte code, 0 for none.
  std::vector<std::uint16_t> from_unicode = std::vector<std::uint16_t>(0x10000, 0);

  unicode_tables() {
    for (unsigned c = 0; c < 0x80; ++c) {
      to_unicode[c] = static_cast<char16_t>(c);
      from_unicode[c] = static_cast<std::uint16_t>(c);
    }
    const char* utf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
    const char* const names[] = {"CP932", "WINDOWS-31J", "SJIS"};
    iconv_t decoder = reinterpret_cast<iconv_t>(-1);
    iconv_t encoder = reinterpret_cast<iconv_t>(-1);
    for (const char* name : names) {
      decoder = iconv_open(utf16, name);
      if (decoder == reinterpret_cast<iconv_t>(-1)) continue;
      encoder = iconv_open(name, utf16);
      if (encoder != reinterpret_cast<iconv_t>(-1)) break;
      iconv_close(decoder);
      decoder = reinterpret_cast<iconv_t>(-1);
    }
    if (decoder == reinterpret_cast<iconv_t>(-1)) return;  // only ASCII converts

    for (unsigned b = 0x80; b < 0x100; ++b) {
      const char in[1] = {static_cast<char>(b)};
      to_unicode[b] = decode_one(decoder, in, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!is_lead_byte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!valid_trail(static_cast<unsigned char>(trail))) continue;
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        to_unicode[double_index((lead << 8) | trail)] = decode_one(decoder, in, 2);
      }
    }
    for (unsigned u = 0x80; u < 0x10000; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) continue;
      from_unicode[u] = encode_one(encoder, static_cast<char16_t>(u));
    }
    iconv_close(decoder);
    iconv_close(encoder);
  }

  static std::size_t double_index(unsigned code) { return 0x100 + ((code >> 8) - 0x80) * 0x100 + (code & 0xFF); }

  // The one UTF-16 unit `in` converts to, or 0 when it does not convert whole.
  static char16_t decode_one(iconv_t cd, const char* in, std::size_t length) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t out[4] = {};
    char* in_ptr = const_cast<char*>(in);
    std::size_t in_left = length;
    char* out_ptr = reinterpret_cast<char*>(out);
    std::size_t out_left = sizeof out;
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) return 0;
    if (in_left != 0 || sizeof out - out_left != 2) return 0;
    return out[0];
  }

  static std::uint16_t encode_one(iconv_t cd, char16_t unit) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in[2];
    std::memcpy(in, &unit, 2);
    char out[8];
    char* in_ptr = in;
    std::size_t in_left = 2;
    char* out_ptr = out;
    std::size_t out_left = sizeof out;
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) return 0;
    const std::size_t written = sizeof out - out_left;
    if (in_left != 0) return 0;
    if (written == 1) return static_cast<unsigned char>(out[0]);
    if (written == 2) return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    return 0;
  }
};

const unicode_tables& tables() {
  static const unicode_tables instance;  // built once, thread-safe
  return instance;
}

// Decodes one UTF-8 character from s[0, length), length >= 1. Returns the number
// of bytes taken; code_point is -1 for an ill-formed sequence, which then covers
// its longest valid-looking prefix (at least one byte).
std::size_t decode_utf8(const unsigned char* s, std::size_t length, long& code_point) {
  const unsigned b = s[0];
  code_point = -1;
  if (b < 0x80) {
    code_point = b;
    return 1;
  }
  std::size_t n;
  unsigned low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) low = 0xA0;  // no overlong forms
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  if (length < 2 || s[1] < low || s[1] > high) return 1;
  for (std::size_t k = 2; k < n; ++k)
    if (k >= length || s[k] < 0x80 || s[k] > 0xBF) return k;
  long value = b & (0xFF >> (n + 1));
  for (std::size_t k = 1; k < n; ++k) value = (value << 6) | (s[k] & 0x3F);
  code_point = value;
  return n;
}

void append_utf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Walks Shift_JIS by the code page's lead-byte rule and hands each character's
// Unicode form ('?' when it has none) to `emit`.
template <class Emit>
void walk_sjis(std::string_view sjis, Emit emit) {
  const auto& t = tables();
  std::size_t i = 0;
  while (i < sjis.size()) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (b < 0x80) {
      emit(static_cast<char16_t>(b));
      ++i;
    } else if (is_lead_byte(b) && i + 1 < sjis.size() && valid_trail(static_cast<unsigned char>(sjis[i + 1]))) {
      const char16_t u = t.to_unicode[unicode_tables::double_index(b << 8 | static_cast<unsigned char>(sjis[i + 1]))];
      emit(u ? u : u'?');
      i += 2;
    } else {
      const char16_t u = t.to_unicode[b];
      emit(u ? u : u'?');
      ++i;
    }
  }
}

// Appends the Shift_JIS form of `u` ('?' when it has none) at out[w], returning the new w.
template <class Out>
std::size_t put_sjis(Out& out, std::size_t w, long u) {
  unsigned code = 0;
  if (u >= 0 && u < 0x80)
    code = static_cast<unsigned>(u);
  else if (u >= 0x80 && u < 0x10000)
    code = tables().from_unicode[static_cast<std::size_t>(u)];
  if (u != 0 && code == 0) code = '?';
  if (code > 0xFF) {
    out[w++] = static_cast<char>(code >> 8);
    out[w++] = static_cast<char>(code & 0xFF);
  } else {
    out[w++] = static_cast<char>(code);
  }
  return w;
}

}  // namespace

char16_t sjis_char_to_unicode(unsigned sjis_code) {
  if (sjis_code < 0x100) return tables().to_unicode[sjis_code];
  if (sjis_code > 0xFFFF || !is_lead_byte(static_cast<unsigned char>(sjis_code >> 8)) ||
      !valid_trail(static_cast<unsigned char>(sjis_code & 0xFF)))
    return 0;
  return tables().to_unicode[unicode_tables::double_index(sjis_code)];
}

unsigned unicode_to_sjis_char(char32_t code_point) {
  if (code_point < 0x80) return code_point;
  if (code_point >= 0x10000) return 0;
  return tables().from_unicode[code_point];
}

bool sjis_to_utf16(std::string_view sjis, std::u16string& out) {
  try {
    out.clear();
    out.reserve(sjis.size());
    walk_sjis(sjis, [&](char16_t u) { out += u; });
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool sjis_to_utf8_string(std::string_view sjis, std::string& out) {
  try {
    out.clear();
    out.reserve(sjis.size() + sjis.size() / 2);
    walk_sjis(sjis, [&](char16_t u) { append_utf8(out, u); });
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool utf16_to_sjis(std::u16string_view text, byte_string& out) {
  try {
    out.assign(text.size() * 2, '\0');
    std::size_t w = 0;
    std::size_t i = 0;
    while (i < text.size()) {
      const char16_t u = text[i];
      if (u >= 0xD800 && u <= 0xDFFF) {
        // A character outside the BMP (or a broken surrogate) has no Shift_JIS form.
        if (u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        out[w++] = '?';
      } else {
        w = put_sjis(out, w, u);
      }
      ++i;
    }
    out.resize(w);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::size_t convert_utf8_to_sjis(const char* source, std::size_t length, char* dest) {
  const auto* s = reinterpret_cast<const unsigned char*>(source);
  std::size_t r = 0;
  std::size_t w = 0;
  while (r < length) {
    if (s[r] < 0x80) {
      dest[w++] = static_cast<char>(s[r++]);
      continue;
    }
    long u;
    // The whole sequence is read before anything is written, and a character of n
    // UTF-8 bytes never takes more than n Shift_JIS bytes, so w stays <= r.
    r += decode_utf8(s + r, length - r, u);
    w = u < 0 ? (dest[w] = '?', w + 1) : put_sjis(dest, w, u);
  }
  return w;
}

bool utf8_to_sjis_string(std::string_view utf8, byte_string& out) {
  try {
    out.assign(utf8.size(), '\0');
    out.resize(convert_utf8_to_sjis(utf8.data(), utf8.size(), out.data()));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace vintorel
