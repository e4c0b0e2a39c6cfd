// Fuzzes the reading of a request that a second instance sends to the running one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/instance.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  instance_request request;
  int taken = take_request(bytes, request);
  if (taken < -1 || taken > 1) std::abort();
  std::size_t end = bytes.find('\n');
  // Incomplete only while no line feed came and the line may still fit.
  if (taken == 0 && (end != std::string_view::npos || size >= max_request_line)) std::abort();
  if (taken == 1) {
    // A request that was read is exactly one of the lines written.
    if (bytes.substr(0, end + 1) != format_request(request)) std::abort();
  }
  return 0;
}
