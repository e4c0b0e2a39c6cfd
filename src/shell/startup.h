// Start-up steps that need no window: the process's directories, the settings
// files made when missing, and the command line turned into what to open.
#pragma once
#include <string>
#include <string_view>

#include "shell/command_line.h"
#include "shell/program_places.h"

namespace vintorel {

struct start_environment {
  program_places places;            // settings, fonts, manual (program_places.h)
  std::string start_directory;      // the current directory at start, ending in "/"
  std::string temporary_directory;  // holds the response file and the save temporary
};

// Sets the locale from the environment, finds the directories, makes the
// settings and font directories when they are the user's folders, and makes
// the font directory current (relative font names in the settings resolve
// there). False when a directory cannot be found, made or entered.
bool prepare_process(start_environment& environment);
bool prepare_process(start_environment& environment, const places_input& in);

// program.ini with its two default entries ("&Grep" running grep, "&Make"
// running make, both shown for confirmation) when it does not exist; false
// when a write fails.
bool create_default_programs(const std::string& path);
// The text of a vintorel.ini holding every key with its default, so that the
// user finds the settings to edit (menu "設定ファイルを開く").
std::string default_main_settings_text();
// Writes that text when the file does not exist; false when that fails.
bool create_default_main_settings(const std::string& path);

// The files the first instance makes sure of in `directory` before anything
// else: layout.ini and program.ini (a failure ends start-up with string 31),
// and vintorel.ini, whose absence is not an error.
bool ensure_start_files(const std::string& directory);

// What the first instance opens, or the second hands over.
struct start_request {
  bool empty = true;         // the command line was empty
  bool read_only = false;    // /R given or Ctrl held at start
  command_line_items items;  // files, or the directory and command
};
start_request read_start_request(std::string_view command_line, bool ctrl_held,
                                 const std::string& start_directory);

}  // namespace vintorel
