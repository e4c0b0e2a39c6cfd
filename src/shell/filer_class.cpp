// The "filer class" list and the matching of a window's WM_CLASS value.
#include "shell/filer_class.h"

namespace vintorel {

std::vector<std::string> filer_class_names(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    std::string_view name = list.substr(0, comma);
    if (!name.empty()) names.emplace_back(name);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return names;
}

bool class_property_matches(std::string_view property, std::string_view name) {
  // WM_CLASS holds the instance name and the class name, each ended by a NUL.
  std::size_t end = property.find('\0');
  std::string_view instance = property.substr(0, end);
  std::string_view window_class;
  if (end != std::string_view::npos) {
    window_class = property.substr(end + 1);
    window_class = window_class.substr(0, window_class.find('\0'));
  }
  return !name.empty() && (instance == name || window_class == name);
}

}  // namespace vintorel
