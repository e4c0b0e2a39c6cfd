// Where the editor keeps its settings, layout, fonts and manual. An editor run
// from a folder the user can write to (a build folder, a copied folder) keeps
// everything beside its executable. An installed one, or one in a folder the
// user cannot write to, keeps the settings under $XDG_CONFIG_HOME/vintorel/ and
// the fonts under $XDG_DATA_HOME/vintorel/, so that replacing or rebuilding
// the program never touches them.
#pragma once
#include <functional>
#include <string>

namespace vintorel {

struct program_places {
  std::string executable_directory;  // the editor and its font generator mkfontx2
  std::string settings_directory;    // vintorel.ini, ext.ini, program.ini, layout.ini
  std::string font_directory;        // the FONTX2 files; made the current directory
  std::string manual_path;           // the Shift_JIS manual vintorel.txt
  bool beside_executable = true;     // all of them in the executable's directory
};

// What the choice is made from; every directory ends in "/" or is "".
struct places_input {
  std::string executable_directory;
  std::string config_home;  // $XDG_CONFIG_HOME (ignored unless absolute)
  std::string data_home;    // $XDG_DATA_HOME (ignored unless absolute)
  std::string home;         // the user's home directory
  // Whether the user may create files in a directory (the default asks access).
  std::function<bool(const std::string& directory)> writable;
};

// An installed editor: its executable lies in PREFIX/bin/ beside
// PREFIX/share/vintorel/, where the installation puts the manual.
std::string installed_data_directory(const std::string& executable_directory);
bool is_installed(const std::string& executable_directory);

// The places for `in`. Settings and fonts stay beside the executable when it
// is not installed and its directory is writable; otherwise they go to the
// user's folders. settings_directory is "" when neither can be had (no home).
program_places choose_places(const places_input& in);

// The input from this process's environment and executable.
places_input current_places_input();

// Makes the settings and font directories (and missing parents, mode 0700)
// unless they are the executable's; false when one cannot be made.
bool make_places(const program_places& places);

// Makes `directory` and its missing parents with mode 0700; true when it
// exists as a directory afterwards.
bool make_directories(const std::string& directory);

}  // namespace vintorel
