// Preparing the search pattern and finding its matches in a line.
#include "text/search_pattern.h"

#include <cstring>

#include "platform/cp932.h"
#include "text/char_class.h"
#include "text/search_strings.h"

namespace vintorel {

namespace {

unsigned char byte_of(std::string_view s, std::size_t i) {
  return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

bool is_ascii_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }
unsigned char upper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

// Whether `q` starts a character, given that `floor` (at or before q) does.
// Lead bytes always pair with one another, so only the run of lead-range bytes
// right before q matters: an odd run means its last byte takes q as its second
// byte (unless q is a byte that never serves as one).
bool starts_character_from(std::string_view s, std::size_t q, std::size_t floor) {
  std::size_t j = q;
  while (j > floor && is_lead_byte(static_cast<unsigned char>(s[j - 1]))) --j;
  return (q - j) % 2 == 0 || !pairs_with_lead(byte_of(s, q));
}

// Whether the character ending just before `p` is a single-byte word character.
bool word_character_before(std::string_view s, std::size_t p) {
  if (p == 0 || !is_word_byte(static_cast<unsigned char>(s[p - 1]))) return false;
  // A word byte is never a lead byte; it is a character of its own unless it is
  // the second byte of a double-byte character.
  return starts_character_from(s, p - 1, 0);
}

bool same_bytes(std::string_view s, std::size_t p, const search_pattern& pattern) {
  const char* text = s.data() + p;
  if (!pattern.ignore_case) return std::memcmp(text, pattern.bytes.data(), pattern.n) == 0;
  // Only single-byte characters fold: a second byte that looks like a letter is
  // part of a double-byte character and must match exactly.
  for (std::size_t i = 0; i < pattern.n; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (pattern.single[i]) c = lower(c);
    if (c != static_cast<unsigned char>(pattern.folded[i])) return false;
  }
  return true;
}

// The rules after the bytes compared equal at the character start p.
bool boundaries_hold(std::string_view s, std::size_t p, const search_pattern& pattern,
                     bool word_before) {
  std::size_t end = p + pattern.n;
  // A pattern ending in half a character must not take the text's next byte as
  // that character's second half.
  if (pattern.ends_in_lead && pairs_with_lead(byte_of(s, end))) return false;
  if (!pattern.word_search) return true;
  if (pattern.need_end && pattern.last_is_word && is_word_byte(byte_of(s, end))) return false;
  if (pattern.need_start && pattern.first_is_word && word_before) return false;
  return true;
}

}  // namespace

bool is_word_byte(unsigned char c) {
  return (c >= '0' && c <= '9') || is_ascii_letter(c) || c == '_';
}

search_pattern prepare_pattern(const byte_string& search_string, bool ignore_case,
                               bool word_search) {
  search_pattern pattern;
  pattern.ignore_case = ignore_case;
  pattern.word_search = word_search;
  byte_string bytes = search_string;
  if (word_search) {
    if (!bytes.empty() && bytes.front() == '*') {
      bytes.erase(0, 1);
      pattern.need_start = false;
    }
    if (!bytes.empty() && bytes.back() == '*') {
      std::size_t star = bytes.size() - 1;
      // A backslash escapes the star only when it is a character of its own;
      // 0x5C is also the second byte of many double-byte characters.
      bool escaped = star > 0 && bytes[star - 1] == '\\' &&
                     !is_trail_byte(bytes.c_str(), bytes.c_str() + star - 1);
      if (!escaped) {
        bytes.pop_back();
        pattern.need_end = false;
      }
    }
    byte_string kept;
    for (std::size_t i = 0; i < bytes.size();) {
      std::size_t length = character_length(bytes, i);
      if (!(length == 1 && bytes[i] == '\\')) kept.append(bytes, i, length);
      i += length;
    }
    bytes.swap(kept);
  }
  pattern.bytes = bytes;
  pattern.n = bytes.size();
  // An empty pattern would match everywhere, and one holding a line end or the
  // end mark would reach across a terminator: neither is searched for.
  pattern.usable = pattern.n > 0 && bytes.find_first_of("\r\n\x1A") == byte_string::npos;
  pattern.folded = bytes;
  pattern.single.assign(pattern.n, 0);
  for (std::size_t i = 0; i < pattern.n;) {
    std::size_t length = character_length(bytes, i);
    if (length == 1) {
      pattern.single[i] = 1;
      pattern.folded[i] = static_cast<char>(lower(static_cast<unsigned char>(bytes[i])));
    }
    if (i + length == pattern.n) {
      unsigned char last = static_cast<unsigned char>(bytes[i]);
      pattern.last_is_word = length == 1 && is_word_byte(last);
      pattern.ends_in_lead = length == 1 && is_lead_byte(last);
    }
    i += length;
  }
  pattern.first_is_word = pattern.n > 0 && is_word_byte(static_cast<unsigned char>(bytes[0]));
  return pattern;
}

search_pattern prepare_pattern(const edit_context& context) {
  if (!context.search) return search_pattern{};
  return prepare_pattern(context.search->search_string, context.settings.ignore_case,
                         context.settings.word_search);
}

bool matches_at(std::string_view line, std::size_t p, const search_pattern& pattern) {
  if (!pattern.usable || p > line.size() || pattern.n > line.size() - p) return false;
  // The bytes first: they rarely agree, and finding a character start may
  // walk back over a run of double-byte characters.
  if (!same_bytes(line, p, pattern)) return false;
  if (!starts_character_from(line, p, 0)) return false;
  return boundaries_hold(line, p, pattern, word_character_before(line, p));
}

std::size_t content_end(std::string_view line) {
  std::size_t end = line.size();
  if (const void* cr = std::memchr(line.data(), '\r', end))
    end = static_cast<std::size_t>(static_cast<const char*>(cr) - line.data());
  if (const void* mark = std::memchr(line.data(), end_mark, end))
    end = static_cast<std::size_t>(static_cast<const char*>(mark) - line.data());
  return end;
}

match_scanner::match_scanner(std::string_view line, const search_pattern& pattern)
    : line_(line), pattern_(pattern) {
  if (!pattern.usable || !pattern.ignore_case) return;
  // Ignoring case, candidates are found by one byte that must match exactly:
  // the first that is neither a letter nor a blank (blanks are common), else
  // either case of the first letter.
  for (std::size_t i = 0; i < pattern.n; ++i) {
    unsigned char c = static_cast<unsigned char>(pattern.bytes[i]);
    if (!is_ascii_letter(c) && c != ' ' && c != '\t') {
      anchor_ = i;
      return;
    }
  }
  two_cases_ = is_ascii_letter(static_cast<unsigned char>(pattern.bytes[0]));
}

void match_scanner::assume_before(std::size_t at, bool word_before) {
  assumed_at_ = at;
  assumed_word_ = word_before;
}

bool match_scanner::word_before(std::size_t p) const {
  if (p == assumed_at_) return assumed_word_;
  return word_character_before(line_, p);
}

bool match_scanner::starts_character(std::size_t q, std::size_t floor) const {
  return starts_character_from(line_, q, floor);
}

std::size_t match_scanner::next_candidate(std::size_t from) {
  const char* data = line_.data();
  std::size_t size = line_.size();
  constexpr std::size_t none = std::string_view::npos;
  if (from >= size) return none;
  auto find = [&](std::size_t at, unsigned char c) -> std::size_t {
    if (at >= size) return none;
    const void* hit = std::memchr(data + at, c, size - at);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : none;
  };
  if (!pattern_.ignore_case) {
    // Exact bytes: the library's substring search, which needs no character
    // rules; the caller checks that the hit starts a character.
    if (pattern_.n > size - from) return none;
    const void* hit = memmem(data + from, size - from, pattern_.bytes.data(), pattern_.n);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : none;
  }
  if (!two_cases_) {
    std::size_t hit = find(from + anchor_, static_cast<unsigned char>(pattern_.bytes[anchor_]));
    return hit == none ? none : hit - anchor_;
  }
  // Both cases of the first letter: each cached hit is reused until the scan
  // passes it, so every byte is looked at once per case.
  unsigned char first = static_cast<unsigned char>(pattern_.bytes[0]);
  if (!lower_valid_ || next_lower_ < from) {
    next_lower_ = find(from, lower(first));
    lower_valid_ = true;
  }
  if (!upper_valid_ || next_upper_ < from) {
    next_upper_ = find(from, upper(first));
    upper_valid_ = true;
  }
  return next_lower_ < next_upper_ ? next_lower_ : next_upper_;
}

std::size_t match_scanner::next(std::size_t from, std::size_t start_limit, std::size_t end_limit) {
  if (!pattern_.usable) return std::string_view::npos;
  if (end_limit > line_.size()) end_limit = line_.size();
  if (from < known_start_) from = known_start_;
  while (from < start_limit) {
    std::size_t c = next_candidate(from);
    if (c == std::string_view::npos || c >= start_limit) return std::string_view::npos;
    bool start = starts_character(c, known_start_);
    // The second byte of a pair is followed by a character start.
    known_start_ = start ? c : c + 1;
    if (start && pattern_.n <= end_limit && c <= end_limit - pattern_.n &&
        same_bytes(line_, c, pattern_) && boundaries_hold(line_, c, pattern_, word_before(c)))
      return c;
    from = c + 1;
  }
  return std::string_view::npos;
}

}  // namespace vintorel
