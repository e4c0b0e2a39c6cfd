// Reading and writing the remembered window position in layout.ini.
#include "shell/layout_file.h"

#include "files/file_system.h"
#include "settings/settings_file.h"

namespace vintorel {

namespace {
constexpr const char* section = "value";
constexpr const char* key_x = "position x";
constexpr const char* key_y = "position y";
}  // namespace

bool ensure_layout_file(const std::string& path) {
  if (file_exists(path)) return true;
  return write_setting_string(path, section, key_x, "0", false) &&
         write_setting_string(path, section, key_y, "0", false);
}

window_position read_window_position(const std::string& path) {
  window_position p;
  p.x = read_setting_int(path, section, key_x, 0);
  p.y = read_setting_int(path, section, key_y, 0);
  return p;
}

bool write_window_position(const std::string& path, const window_position& position) {
  bool x_written = write_setting_int(path, section, key_x, position.x, false);
  bool y_written = write_setting_int(path, section, key_y, position.y, false);
  return x_written && y_written;
}

}  // namespace vintorel
