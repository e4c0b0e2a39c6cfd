// The web address under the cursor: a run of address bytes around the cursor
// that begins with "http".
#pragma once
#include <cstddef>
#include <string_view>

#include "platform/byte_string.h"

namespace vintorel {

// Addresses are cut after this many bytes.
constexpr std::size_t max_address_bytes = 255;

// Whether a byte may be part of an address: printable ASCII but for blank,
// '"', '<', '>', '[', '\', ']', '^', '`', '{', '|', '}'.
bool is_address_byte(unsigned char c);

// The address that the character at `position` of `line` belongs to; empty
// when that byte is not part of one or the run does not begin with "http".
byte_string address_at(std::string_view line, std::size_t position);

}  // namespace vintorel
