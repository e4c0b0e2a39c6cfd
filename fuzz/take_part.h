// Cutting a fuzz input into short parts: a length byte (taken modulo 24) and
// that many bytes, as far as the input goes.
#pragma once
#include <cstddef>
#include <string_view>

namespace fuzz_support {

inline std::string_view take_part(std::string_view& in) {
  if (in.empty()) return {};
  std::size_t n = static_cast<unsigned char>(in[0]) % 24;
  in.remove_prefix(1);
  n = n < in.size() ? n : in.size();
  std::string_view part = in.substr(0, n);
  in.remove_prefix(n);
  return part;
}

}  // namespace fuzz_support
