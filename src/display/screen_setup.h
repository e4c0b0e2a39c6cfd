// Creation, loading, rebuild and release of the screen surfaces and glyph sheets.
#pragma once

#include "display/display_context.h"

namespace vintorel {

// String-table ids of the display's error messages.
constexpr int string_depth_changed = 15;
constexpr int string_no_direct_draw = 32;
constexpr int string_too_few_colours = 33;
constexpr int string_missing_capabilities = 34;
constexpr int string_drawing_error = 35;
constexpr int string_font_problem = 36;

// Opens the device and makes every surface for the current metrics and client
// area, then clears the whole grid. False after an error message.
bool create_surfaces(display_context& display);
// Renders both fonts into the sheets. False after an error message.
bool load_sheets(display_context& display);
// Releases whatever exists, sheets first, the device last.
void release_surfaces(display_context& display);
// After a lost surface: waits for a deep enough display, then releases,
// creates and loads everything again. False when that failed.
bool rebuild_surfaces(display_context& display);

}  // namespace vintorel
