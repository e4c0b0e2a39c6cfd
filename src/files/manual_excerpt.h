// A range of lines of the manual file, as the help window shows them.
#pragma once
#include <string>
#include <string_view>

#include "platform/byte_string.h"

namespace vintorel {

// The room the help window has for an excerpt, terminator included.
inline constexpr std::size_t manual_excerpt_room = 4096;

// Lines first_line .. first_line + line_count - 1 (1-based) of `contents`,
// each ended by CR LF (a CR LF or a lone LF in the file ends a line). Empty when
// the file ends before the last of them starts or the excerpt does not fit in
// manual_excerpt_room; first_line below 1 or line_count below 1 give nothing.
byte_string manual_excerpt(std::string_view contents, int first_line, int line_count);

// The same from the file at `path`; empty when it cannot be read.
byte_string read_manual_excerpt(const std::string& path, int first_line, int line_count);

}  // namespace vintorel
