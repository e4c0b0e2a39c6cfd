// Matching the keywords of a text's extension style while a line is painted.
#pragma once
#include <cstddef>

#include "platform/byte_string.h"

namespace vintorel {

// Length of the first keyword of `keywords` (NUL-terminated strings ended by an
// empty one, or by the end of the block) that matches at byte `p` of `line`,
// or 0. A keyword whose last character is a word character matches only where
// no word character follows it.
std::size_t keyword_at(const byte_string& keywords, const byte_string& line, std::size_t p);

}  // namespace vintorel
