// layout.ini beside the executable: the remembered screen position of the main
// window's client area (section "value", keys "position x" and "position y").
#pragma once
#include <cstdint>
#include <string>

namespace vintorel {

struct window_position {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Creates the file with both keys "0" when it does not exist; true when it
// existed or both writes succeeded.
bool ensure_layout_file(const std::string& path);
// Both values as integers, 0 when missing.
window_position read_window_position(const std::string& path);
// Writes both values; false when a write failed.
bool write_window_position(const std::string& path, const window_position& position);

}  // namespace vintorel
