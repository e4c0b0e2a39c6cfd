// The outside file manager's window that open_file activates instead of its
// own dialog, found by the class names of the "filer class" setting.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

// The names of a comma-separated list, empty pieces left out.
std::vector<std::string> filer_class_names(std::string_view list);
// Whether a WM_CLASS value (instance name, NUL, class name, NUL) names `name`.
bool class_property_matches(std::string_view property, std::string_view name);
// Restores and activates the first top-level window whose class is one of the
// names, trying the names in order; false when none is found (or the window
// system offers no search).
bool activate_filer_window(std::string_view class_list);

}  // namespace vintorel
