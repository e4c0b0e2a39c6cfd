// Choosing between the executable's directory and the user's folders for the
// settings, layout and fonts.
#include "shell/program_places.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "files/file_system.h"

namespace vintorel {

namespace {

bool is_directory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string with_slash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

// An XDG base directory: the variable's value when absolute (relative values
// are ignored as the base-directory rules say), else HOME + `fallback`.
std::string base_directory(const std::string& value, const std::string& home, const char* fallback) {
  if (!value.empty() && value[0] == '/') return with_slash(value);
  if (!home.empty() && home[0] == '/') return with_slash(home) + fallback;
  return "";
}

std::string environment_value(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string installed_data_directory(const std::string& executable_directory) {
  std::string dir = with_slash(executable_directory);
  // ".../bin/" -> ".../share/vintorel/"
  if (dir.size() < 5 || dir.compare(dir.size() - 5, 5, "/bin/") != 0) return "";
  return dir.substr(0, dir.size() - 4) + "share/vintorel/";
}

bool is_installed(const std::string& executable_directory) {
  std::string data = installed_data_directory(executable_directory);
  return !data.empty() && is_directory(data);
}

program_places choose_places(const places_input& in) {
  program_places places;
  places.executable_directory = with_slash(in.executable_directory);
  const std::string& exe = places.executable_directory;
  bool installed = is_installed(exe);
  auto writable = in.writable ? in.writable : [](const std::string& d) { return ::access(d.c_str(), W_OK) == 0; };
  if (!installed && writable(exe)) {
    places.settings_directory = places.font_directory = exe;
    places.manual_path = exe + "vintorel.txt";
    places.beside_executable = true;
    return places;
  }
  places.beside_executable = false;
  std::string config = base_directory(in.config_home, in.home, ".config/");
  std::string data = base_directory(in.data_home, in.home, ".local/share/");
  if (!config.empty()) places.settings_directory = config + "vintorel/";
  if (!data.empty()) places.font_directory = data + "vintorel/";
  places.manual_path = (installed ? installed_data_directory(exe) : exe) + "vintorel.txt";
  return places;
}

places_input current_places_input() {
  places_input in;
  in.executable_directory = executable_directory();
  in.config_home = environment_value("XDG_CONFIG_HOME");
  in.data_home = environment_value("XDG_DATA_HOME");
  in.home = environment_value("HOME");
  if (in.home.empty()) {
    if (passwd* entry = ::getpwuid(::geteuid())) in.home = entry->pw_dir ? entry->pw_dir : "";
  }
  return in;
}

bool make_directories(const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  std::string directory = with_slash(path);
  for (std::size_t slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1)) {
    std::string part = directory.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return is_directory(directory);
}

bool make_places(const program_places& places) {
  if (places.beside_executable) return true;
  return make_directories(places.settings_directory) && make_directories(places.font_directory);
}

}  // namespace vintorel
