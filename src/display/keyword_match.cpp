// Matching the keywords of a text's extension style while a line is painted.
#include "display/keyword_match.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "text/search_pattern.h"

namespace vintorel {

namespace {

// Whether the last character of `word[0, n)` is a word character; the second
// byte of a double-byte character never is.
bool ends_in_word_char(const char* word, std::size_t n) {
  std::size_t i = 0;
  std::size_t last = 0;
  while (i < n) {
    last = i;
    i += (is_lead_byte(static_cast<unsigned char>(word[i])) && i + 1 < n) ? 2 : 1;
  }
  return n > 0 && i - last == 1 && is_word_byte(static_cast<unsigned char>(word[last]));
}

}  // namespace

std::size_t keyword_at(const byte_string& keywords, const byte_string& line, std::size_t p) {
  if (p > line.size()) return 0;
  const std::size_t left = line.size() - p;
  std::size_t at = 0;
  while (at < keywords.size() && keywords[at] != '\0') {
    const char* word = keywords.data() + at;
    const std::size_t n = strnlen(word, keywords.size() - at);
    if (n <= left && std::memcmp(word, line.data() + p, n) == 0) {
      if (!ends_in_word_char(word, n) || p + n >= line.size() ||
          !is_word_byte(static_cast<unsigned char>(line[p + n])))
        return n;
    }
    at += n + 1;
  }
  return 0;
}

void prepare_keywords(keyword_table& table, const byte_string& keywords) {
  table.block = keywords;
  table.entries.clear();
  table.first.fill(0);
  std::vector<keyword_table::entry> found;
  std::size_t at = 0;
  while (at < keywords.size() && keywords[at] != '\0') {
    const std::size_t n = strnlen(keywords.data() + at, keywords.size() - at);
    found.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(n),
                     ends_in_word_char(keywords.data() + at, n)});
    ++table.first[static_cast<unsigned char>(keywords[at]) + 1];
    at += n + 1;
  }
  for (std::size_t b = 1; b < table.first.size(); ++b) table.first[b] += table.first[b - 1];
  table.entries.resize(found.size());
  std::array<std::uint32_t, 256> next{};
  std::copy(table.first.begin(), table.first.end() - 1, next.begin());
  for (const keyword_table::entry& e : found)
    table.entries[next[static_cast<unsigned char>(keywords[e.offset])]++] = e;
}

std::size_t keyword_at(const keyword_table& table, const byte_string& line, std::size_t p) {
  if (p >= line.size()) return 0;
  const std::size_t left = line.size() - p;
  const unsigned char b = static_cast<unsigned char>(line[p]);
  for (std::uint32_t i = table.first[b]; i < table.first[b + 1]; ++i) {
    const keyword_table::entry& e = table.entries[i];
    if (e.length > left) continue;
    // The first byte is the bucket's; keywords are short, so a loop beats a
    // call of the library's compare.
    const char* word = table.block.data() + e.offset;
    const char* here = line.data() + p;
    std::uint32_t k = 1;
    while (k < e.length && word[k] == here[k]) ++k;
    if (k < e.length) continue;
    if (!e.word_end || p + e.length >= line.size() || !is_word_byte(static_cast<unsigned char>(line[p + e.length])))
      return e.length;
  }
  return 0;
}

}  // namespace vintorel
