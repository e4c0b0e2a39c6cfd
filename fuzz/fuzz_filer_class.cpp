// Fuzzes the "filer class" list and the matching of the WM_CLASS values other
// programs put on their windows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/filer_class.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte splits the rest into the setting and a window's class value.
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::size_t split = data[0] % (rest.size() + 1);
  std::string_view list = rest.substr(0, split);
  std::string_view property = rest.substr(split);
  for (const std::string& name : filer_class_names(list)) {
    if (name.empty() || name.find(',') != std::string::npos) std::abort();
    // A match is one of the first two NUL-separated pieces, whole.
    if (class_property_matches(property, name) && property.find(name) == std::string_view::npos) std::abort();
  }
  if (class_property_matches(property, "")) std::abort();
  return 0;
}
