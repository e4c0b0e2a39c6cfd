// The search and replacement strings, one pair for the whole program, shared by
// every text. Both start empty.
#pragma once
#include "platform/byte_string.h"

namespace vintorel {

struct search_strings {
  byte_string search_string;
  byte_string replace_string;
};

}  // namespace vintorel
