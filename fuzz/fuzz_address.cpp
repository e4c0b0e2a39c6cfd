// Fuzzes the address under the cursor at every position of any line: an
// address is a run of address bytes inside the line, begins with "http", is
// at most 255 bytes long and covers the cursor or ends at the limit before it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exec/url_at.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  for (std::size_t at = 0; at <= size; ++at) {
    byte_string address = address_at(line, at);
    if (address.empty()) continue;
    if (address.size() > max_address_bytes || address.compare(0, 4, "http") != 0) std::abort();
    for (char c : address)
      if (!is_address_byte(static_cast<unsigned char>(c))) std::abort();
    std::size_t start = line.find(address);
    if (start == std::string_view::npos || start > at) std::abort();
  }
  return 0;
}
