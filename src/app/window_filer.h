// The outside file manager's window that open_file activates instead of its
// own dialog, found by the class names of the "filer class" setting.
#pragma once
#include <string_view>

#include "shell/filer_class.h"

namespace vintorel {

// Restores and activates the first top-level window whose class is one of the
// names, trying the names in order; false when none is found (or the window
// system offers no search).
bool activate_filer_window(std::string_view class_list);

}  // namespace vintorel
