// Fuzzes the file name made from $WAYLAND_DISPLAY and $DISPLAY for the
// instance directory: whatever the variables hold, the name stays one plain
// component inside the private directory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/instance.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte chooses which variables are set; a NUL splits the rest
  // into the Wayland and the X value.
  if (size == 0) return 0;
  unsigned char which = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::size_t split = rest.find('\0');
  std::string wayland(rest.substr(0, split));
  std::string x(split == std::string_view::npos ? std::string_view() : rest.substr(split + 1));
  // A variable's value holds no NUL of its own.
  if (x.find('\0') != std::string::npos) x.resize(x.find('\0'));
  const char* w = (which & 1) ? wayland.c_str() : nullptr;
  const char* d = (which & 2) ? x.c_str() : nullptr;
  std::string key = display_key(w, d);
  bool any = (w && *w) || (d && *d);
  if (key.empty() != !any) std::abort();
  if (key.size() > 40) std::abort();
  if (key == "." || key == "..") std::abort();
  for (char c : key) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
                 c == '.';
    if (!plain) std::abort();
  }
  if (display_key(w, d) != key) std::abort();  // the same display gives the same name
  return 0;
}
