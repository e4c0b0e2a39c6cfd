// Reading program entries from program.ini.
#include "exec/program_entries.h"

#include "settings/program_entry.h"

#include "settings/settings_file.h"

namespace vintorel {

bool read_program_entry(const std::string& path, int index, program_entry& out) {
  if (index < 0) return false;
  std::string title;
  if (!section_name(path, index, title, program_title_limit + 1)) return false;
  out.title = title;
  out.program = read_setting_string(path, title, "program", 256, "");
  std::string confirm = read_setting_string(path, title, "confirm", 256, "+");
  out.confirm = confirm.empty() || confirm[0] != '-';
  return true;
}

}  // namespace vintorel
