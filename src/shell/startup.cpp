// The process environment at start-up and the settings files made on first start.
#include "shell/startup.h"

#include <unistd.h>

#include <clocale>

#include "shell/key_bindings.h"
#include "shell/layout_file.h"
#include "files/file_system.h"
#include "platform/profile.h"
#include "settings/main_settings.h"

namespace vintorel {

namespace {

std::string current_directory() {
  char buffer[4096];
  if (!::getcwd(buffer, sizeof buffer)) return std::string();
  std::string dir = buffer;
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string colour_text(const settings_colour& c) {
  return std::to_string(c.red) + ":" + std::to_string(c.green) + ":" + std::to_string(c.blue);
}

}  // namespace

bool prepare_process(start_environment& environment) { return prepare_process(environment, current_places_input()); }

bool prepare_process(start_environment& environment, const places_input& in) {
  std::setlocale(LC_ALL, "");
  environment.start_directory = current_directory();
  environment.temporary_directory = temporary_directory();
  if (in.executable_directory.empty()) return false;
  environment.places = choose_places(in);
  const program_places& places = environment.places;
  if (places.settings_directory.empty() || places.font_directory.empty()) return false;
  if (!make_places(places)) return false;
  return ::chdir(places.font_directory.c_str()) == 0;
}

bool create_default_programs(const std::string& path) {
  if (file_exists(path)) return true;
  return write_profile_string(path, "&Grep", "program", "grep -n ??? *.c") &&
         write_profile_string(path, "&Grep", "confirm", "+") &&
         write_profile_string(path, "&Make", "program", "make") &&
         write_profile_string(path, "&Make", "confirm", "+");
}

std::string default_main_settings_text() {
  const settings_record d;
  auto on_off = [](bool b) { return b ? "+" : "-"; };
  std::string t;
  t += "[value]\n";
  t += "columns=" + std::to_string(d.columns) + "\n";
  t += "lines=" + std::to_string(d.lines) + "\n";
  t += "between pixel=" + std::to_string(d.between_pixel) + "\n";
  t += "tab size=" + std::to_string(d.tab_size) + "\n";
  t += "buffer delete=" + std::to_string(d.buffer_delete) + "\n";
  t += "buffer block=" + std::to_string(d.buffer_block) + "\n";
  t += "buffer console=" + std::to_string(d.buffer_console) + "\n";
  t += "\n[switch]\n";
  t += std::string("safety DirectDraw=") + on_off(d.safety_directdraw) + "\n";
  t += std::string("view tab=") + on_off(d.view_tab) + "\n";
  t += std::string("view linefeed=") + on_off(d.view_linefeed) + "\n";
  t += std::string("view EOF=") + on_off(d.view_eof) + "\n";
  t += std::string("view MB space=") + on_off(d.view_mb_space) + "\n";
  t += std::string("backup=") + on_off(d.backup) + "\n";
  t += std::string("ignore case=") + on_off(d.ignore_case) + "\n";
  t += std::string("word search=") + on_off(d.word_search) + "\n";
  t += std::string("detect UTF8=") + on_off(d.detect_utf8) + "\n";
  t += "\n[string]\n";
  t += "filer class=" + d.filer_class + "\n";
  t += "filer path=" + d.filer_path + "\n";
  t += "function=" + d.function + "\n";
  t += "function shift=" + d.function_shift + "\n";
  t += "binary extension=" + d.binary_extension + "\n";
  t += "font file=" + d.font_file + "\n";
  t += "font file MB=" + d.font_file_mb + "\n";
  t += "\n[key]\n";
  for (int slot = 0; slot < key_slot_count; ++slot) {
    const char* name = key_slot_name(slot);
    if (*name) t += std::string(name) + "=" + key_slot_default(slot) + "\n";
  }
  t += "\n[color]\n";
  static const char* const colour_keys[colour_count] = {
      "text normal", "text special",    "text search", "text keyword", "back normal", "back cursor",
      "back cursorline", "back select", "bar normal",  "bar readonly", "bar console"};
  for (int i = 0; i < colour_count; ++i) t += std::string(colour_keys[i]) + "=" + colour_text(d.colours[i]) + "\n";
  return t;
}

bool create_default_main_settings(const std::string& path) {
  if (file_exists(path)) return true;
  return replace_file_contents(path, default_main_settings_text());
}

bool ensure_start_files(const std::string& directory) {
  // The main settings file only helps the user; the editor runs on its
  // defaults without it.
  create_default_main_settings(directory + "vintorel.ini");
  return ensure_layout_file(directory + "layout.ini") && create_default_programs(directory + "program.ini");
}

start_request read_start_request(std::string_view command_line, bool ctrl_held,
                                 const std::string& start_directory) {
  start_request request;
  std::size_t first = command_line.find_first_not_of(" \t");
  request.empty = first == std::string_view::npos;
  if (request.empty) {
    request.read_only = ctrl_held;
    return request;
  }
  request.items = parse_command_line(command_line, start_directory);
  request.read_only = ctrl_held || request.items.read_only;
  return request;
}

}  // namespace vintorel
