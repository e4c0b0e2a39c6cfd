// Reading, writing and deleting the program entries of program.ini.
#include "settings/program_entry.h"

#include "settings/settings_file.h"
#include "settings/settings_section.h"

namespace vintorel {

bool read_program_title(const std::string& program_ini, int i, std::string& title) {
  return section_name(program_ini, i, title, program_title_limit + 1);
}

std::string read_program_command(const std::string& program_ini, std::string_view title) {
  return read_setting_string(program_ini, title, "program", program_command_limit + 1, "");
}

bool read_program_confirm(const std::string& program_ini, std::string_view title) {
  std::string value = read_setting_string(program_ini, title, "confirm", 2, "+");
  return !value.empty() && value[0] == '+';
}

std::vector<std::string> program_menu_titles(const std::string& program_ini) {
  return section_names(program_ini, program_title_limit + 1);
}

bool write_program_entry(const std::string& program_ini, std::string_view old_title,
                         std::string_view title, std::string_view command, bool confirm) {
  return replace_section_ordered(program_ini, old_title, title,
                                 {{"program", std::string(command)}, {"confirm", confirm ? "+" : "-"}});
}

bool delete_program_entry(const std::string& program_ini, std::string_view title) {
  return delete_setting_section(program_ini, title);
}

}  // namespace vintorel
