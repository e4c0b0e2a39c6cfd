// The names of the "filer class" setting and the test of a window's class
// against one of them (plain, so that the class values other programs set can
// be fuzzed without a window system).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

// The names of a comma-separated list, empty pieces left out.
std::vector<std::string> filer_class_names(std::string_view list);
// Whether a WM_CLASS value (instance name, NUL, class name, NUL) names `name`.
bool class_property_matches(std::string_view property, std::string_view name);

}  // namespace vintorel
