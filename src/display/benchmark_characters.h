// The characters the drawing benchmark types: every double-byte Shift_JIS
// code from 0x8140 on, lead bytes 0x81-0x9F and 0xE0-0xFC each with every
// trail byte 0x40-0xFF, 16 to a line (60 × 192 = 11,520 characters in 720
// lines), and the line that reports the time the run took.
#pragma once
#include <cstdint>

#include "platform/byte_string.h"

namespace vintorel {

struct benchmark_characters {
  // Lead byte, trail byte and the terminating zero: the string inserted.
  char bytes[3] = {'\x81', '\x40', '\0'};
  unsigned code() const {
    return static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
  }
};

enum class benchmark_next {
  character,  // the next character follows on the same line
  line_end,   // a line of 16 is full: a line end comes before the next character
  finished,   // that was the last character
};

// Steps to the next character after the one just typed.
benchmark_next advance(benchmark_characters& characters);

// The report: the milliseconds in decimal followed by string 18, at most 255
// bytes.
byte_string benchmark_result_text(std::uint64_t milliseconds);

}  // namespace vintorel
