// Stepping through the benchmark's characters and its report line.
#include "display/benchmark_characters.h"

#include <string>

#include "platform/string_table.h"

namespace vintorel {

benchmark_next advance(benchmark_characters& characters) {
  auto lead = static_cast<unsigned char>(characters.bytes[0]);
  auto trail = static_cast<unsigned char>(characters.bytes[1]);
  if (++trail == 0) {
    trail = 0x40;
    if (++lead == 0xA0) lead = 0xE0;
  }
  characters.bytes[0] = static_cast<char>(lead);
  characters.bytes[1] = static_cast<char>(trail);
  if (lead == 0xFD) return benchmark_next::finished;
  return trail % 16 == 0 ? benchmark_next::line_end : benchmark_next::character;
}

byte_string benchmark_result_text(std::uint64_t milliseconds) {
  char buffer[256];
  const std::string number = std::to_string(milliseconds);
  const std::size_t n = number.copy(buffer, sizeof buffer - 1);
  load_string(string_benchmark_done, buffer + n, sizeof buffer - n);
  return byte_string(buffer);
}

}  // namespace vintorel
