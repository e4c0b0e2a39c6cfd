// The response file vintorel.rsp through which a second instance hands its command
// line to the running one: one line per file, or the directory and the command.
//
// It lies in a shared temporary directory, so it is never opened through a
// symbolic link, is created with mode 0600, and an existing one is used only when
// it is a regular file with a single link owned by this user: no one else can
// plant it, redirect it or read what it holds.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "shell/command_line.h"

namespace vintorel {

// temporary_directory() + "vintorel.rsp".
std::string response_file_path();

// The lines to hand over: the files, or in command mode the directory and the
// command. Files holding a line feed cannot be handed over and are left out; in
// command mode a line feed in the directory or command gives no lines at all.
std::vector<std::string> response_lines(const command_line_items& items);

// Creates the file (or empties this user's existing one) and writes each line
// followed by a line feed; false on any failure or refusal.
bool write_response_file(const std::string& path, const std::vector<std::string>& lines);
// The lines of the file without their line feeds (a last line without one counts
// too); false when it cannot be read or is refused.
bool read_response_file(const std::string& path, std::vector<std::string>& lines);
// The splitting used by read_response_file.
std::vector<std::string> split_response_lines(std::string_view contents);
// Whether anything exists under the name (a link or a stranger's file counts).
bool response_file_exists(const std::string& path);
bool delete_response_file(const std::string& path);

}  // namespace vintorel
