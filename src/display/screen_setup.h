// Creation, loading, rebuild and release of the screen surfaces and glyph sheets.
#pragma once

#include "display/display_context.h"
#include "platform/string_table.h"

namespace vintorel {

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
