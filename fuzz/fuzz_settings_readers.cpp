// Fuzzes every reader of vintorel.ini, ext.ini and layout.ini over arbitrary
// file bytes: the value limits, the switches and strings, the key bindings,
// the window position and the keyword lists. Nothing may crash, hang or leave a
// value outside its limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/extension_style.h"
#include "settings/main_settings.h"
#include "settings/settings_file.h"
#include "shell/key_bindings.h"
#include "shell/layout_file.h"
#include "memory_file.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const memory_file file;
  file.hold(data, size);
  const std::string& path = file.path;

  settings_record settings;
  load_display_settings(settings, path);
  if (settings.columns < 80 || settings.lines < 7 || settings.tab_size < 1 || settings.buffer_delete < 4 ||
      settings.columns > 960 || settings.lines > 271 || settings.buffer_delete > (1 << 20))
    std::abort();
  load_runtime_settings(settings, path);
  key_binding_table_type table{};
  load_key_bindings(table, path);
  for (auto index : table)
    if (index < 0 || index > 127) std::abort();
  read_window_position(path);
  read_setting_int(path, "value", "columns", 80);
  const std::string keywords = read_setting_string(path, "c", "keyword", 4096, "");
  for (const std::string& word : split_keywords(keywords))
    if (word.find(',') != std::string::npos) std::abort();
  return 0;
}
