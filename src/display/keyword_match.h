// Matching the keywords of a text's extension style while a line is painted.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/byte_string.h"

namespace vintorel {

// Length of the first keyword of `keywords` (NUL-terminated strings ended by an
// empty one, or by the end of the block) that matches at byte `p` of `line`,
// or 0. A keyword whose last character is a word character matches only where
// no word character follows it.
std::size_t keyword_at(const byte_string& keywords, const byte_string& line, std::size_t p);

// A keyword block sorted by first byte for painting, so that a place in a line
// is compared only with the keywords that start with its byte.
struct keyword_table {
  struct entry {
    std::uint32_t offset = 0;  // in `block`
    std::uint32_t length = 0;
    bool word_end = false;     // its last character is a word character
  };
  byte_string block;           // the block the table was made from
  std::vector<entry> entries;  // by first byte, in block order within one byte
  std::array<std::uint32_t, 257> first{};  // entries of byte b: [first[b], first[b + 1])
};

void prepare_keywords(keyword_table& table, const byte_string& keywords);
// The same answer as keyword_at over the table's block.
std::size_t keyword_at(const keyword_table& table, const byte_string& line, std::size_t p);

}  // namespace vintorel
