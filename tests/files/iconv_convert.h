// glibc's iconv over a whole string, for tests that need files in other
// character sets than the converters under test make.
#pragma once
#include <iconv.h>

#include <optional>
#include <string>

namespace vintorel::test_support {

// glibc's conversion of the whole of `in`; nothing when it fails.
inline std::optional<std::string> iconv_convert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(in.size() * 4 + 16, '\0');
  char* in_ptr = const_cast<char*>(in.data());
  std::size_t in_left = in.size(), out_left = out.size();
  char* out_ptr = out.data();
  const bool ok = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1) &&
                  in_left == 0 && iconv(cd, nullptr, nullptr, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return ok ? std::optional(out) : std::nullopt;
}

}  // namespace vintorel::test_support
