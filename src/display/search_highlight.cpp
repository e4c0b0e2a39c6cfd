// Matching of the search string and of keywords while a line is painted.
#include "display/search_highlight.h"

#include <cstring>

#include "platform/cp932.h"
#include "text/char_class.h"

namespace vintorel {

namespace {

unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

// Whether the last character of `word[0, n)` is a word character; the second
// byte of a double-byte character never is.
bool ends_in_word_char(const char* word, std::size_t n) {
  if (n == 0) return false;
  std::size_t i = 0;
  std::size_t last = 0;
  while (i < n) {
    last = i;
    i += (is_lead_byte(static_cast<unsigned char>(word[i])) && i + 1 < n) ? 2 : 1;
  }
  return i - last == 1 && is_word_byte(static_cast<unsigned char>(word[last]));
}

}  // namespace

bool is_word_byte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

highlight_pattern prepare_highlight(const byte_string& search, bool word_search) {
  highlight_pattern pattern;
  pattern.bytes = search;
  if (!word_search) return pattern;
  byte_string& b = pattern.bytes;
  if (!b.empty() && b[0] == '*') {
    b.erase(0, 1);
    pattern.need_start = false;
  }
  if (!b.empty() && b.back() == '*') {
    bool escaped = b.size() >= 2 && b[b.size() - 2] == '\\' && !is_trail_byte(b.data(), b.data() + b.size() - 2);
    if (!escaped) {
      b.pop_back();
      pattern.need_end = false;
    }
  }
  byte_string kept;
  for (std::size_t i = 0; i < b.size();) {
    unsigned char c = static_cast<unsigned char>(b[i]);
    if (is_lead_byte(c) && i + 1 < b.size()) {
      kept.append(b, i, 2);
      i += 2;
    } else {
      if (c != '\\') kept.push_back(b[i]);
      i += 1;
    }
  }
  b = std::move(kept);
  return pattern;
}

bool highlight_at(const byte_string& line, std::size_t p, const highlight_pattern& pattern, bool ignore_case,
                  bool word_search) {
  const std::size_t n = pattern.bytes.size();
  if (n == 0 || p > line.size() || n > line.size() - p) return false;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char a = static_cast<unsigned char>(line[p + i]);
    unsigned char b = static_cast<unsigned char>(pattern.bytes[i]);
    if (ignore_case ? fold(a) != fold(b) : a != b) return false;
  }
  if (!word_search) return true;
  auto at = [&line](std::size_t i) { return i < line.size() ? static_cast<unsigned char>(line[i]) : 0; };
  if (pattern.need_end && is_word_byte(at(p + n - 1)) && is_word_byte(at(p + n))) return false;
  if (pattern.need_start && p > 0 && is_word_byte(at(p))) {
    // The character before is double-byte (never a word character) when the
    // byte before p is its second byte.
    bool before_is_double = follows_double_byte(line.data(), line.data() + p);
    if (!before_is_double && is_word_byte(at(p - 1))) return false;
  }
  return true;
}

std::size_t keyword_at(const byte_string& keywords, const byte_string& line, std::size_t p) {
  if (p > line.size()) return 0;
  const std::size_t left = line.size() - p;
  std::size_t at = 0;
  while (at < keywords.size() && keywords[at] != '\0') {
    const char* word = keywords.data() + at;
    std::size_t n = strnlen(word, keywords.size() - at);
    if (n <= left && std::memcmp(word, line.data() + p, n) == 0) {
      if (!ends_in_word_char(word, n) || p + n >= line.size() ||
          !is_word_byte(static_cast<unsigned char>(line[p + n])))
        return n;
    }
    at += n + 1;
  }
  return 0;
}

}  // namespace vintorel
