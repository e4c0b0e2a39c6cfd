// Character sets and line ends: their codes, names and cycles, and the line
// converters between the internal Shift_JIS form and ISO-2022-JP, EUC-JP and
// UTF-8.
//
// One rule holds in every converter here: a control byte (below 0x20: CR, LF, tab,
// end-of-text, the NUL) is never joined to the byte before it as the second half of
// a double-byte character, nor changed by a shift mode. A stray lead byte before a
// line end therefore cannot swallow the line end, and no converter reads past the
// terminating NUL.
#include "platform/charsets.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/cp932.h"

namespace vintorel {

const char* charset_name(charset code) {
  switch (code) {
    case shift_jis: return "SJIS";
    case iso2022jp: return "JIS";
    case euc_jp: return "EUCJ";
    case utf8: return "UTF8";
    default: return "";
  }
}

const char* linefeed_name(linefeed_kind code) {
  switch (code) {
    case crlf: return "CRLF";
    case lf: return "LF";
    case cr: return "CR";
    default: return "";
  }
}

charset next_charset(charset code) {
  switch (code) {
    case shift_jis: return iso2022jp;
    case iso2022jp: return euc_jp;
    case euc_jp: return utf8;
    case utf8: return shift_jis;
    default: return code;
  }
}

linefeed_kind next_linefeed(linefeed_kind code) {
  switch (code) {
    case crlf: return lf;
    case lf: return cr;
    case cr: return crlf;
    default: return code;
  }
}

// ---------------------------------------------------------------------------
// Decoders. Each works in place over line[0, length) and returns the new length;
// the write position never passes the read position.

namespace {

constexpr unsigned char escape = 0x1B;
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

void decode_in_place(byte_string& line, charset charset_code) {
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
    } else if (pairs_with_lead(s[i + 1])) {  // s[i] is not the NUL, so s[i + 1] exists
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
