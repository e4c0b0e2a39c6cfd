// Writing a text to a file in its save character set and line end.
#pragma once
#include <ctime>
#include <string>

#include "text/text_document.h"

namespace vintorel {

// Writes every line to `path` in document.save_charset and save_linefeed; false on
// any failure (the file at `path` may then hold part of the text).
bool write_text(text_document& document, const std::string& path, int tab_size = 8);
// As write_text, for a file in a directory others may write to (the temporary
// save file): created with mode 0600 without following a link; an existing
// file is reused only when it is a regular file of this user with no other
// name, else false.
bool write_text_private(text_document& document, const std::string& path, int tab_size = 8);

// "dir/a.txt" -> "dir/a(20110203040506).txt"; the stamp goes before the last "."
// that follows the last "/" or "\", else at the end.
std::string backup_name(const std::string& path, const std::tm& local_time);
std::string backup_name(const std::string& path);  // with the current local time

// The temporary save file: temporary_directory() + "vintorel.tmp".
std::string save_temporary_path();

}  // namespace vintorel
