// Parsing the command line into files, switches and a command to run.
#include "shell/command_line.h"

#include "files/file_system.h"

namespace vintorel {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

struct item {
  std::string_view text;
  bool quoted = false;
};

// Reads the item starting at `at` (not a blank); `at` moves past it and, for a
// quoted item, past its closing quote.
item next_item(std::string_view line, std::size_t& at) {
  item it;
  if (line[at] == '"') {
    it.quoted = true;
    std::size_t close = line.find('"', at + 1);
    std::size_t end = close == std::string_view::npos ? line.size() : close;
    it.text = line.substr(at + 1, end - at - 1);
    at = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    std::size_t end = at;
    while (end < line.size() && !is_blank(line[end])) ++end;
    it.text = line.substr(at, end - at);
    at = end;
  }
  return it;
}

void skip_blanks(std::string_view line, std::size_t& at) {
  while (at < line.size() && is_blank(line[at])) ++at;
}

std::string anchored(std::string_view path, const std::string& base) {
  if (!path.empty() && path[0] == '/') return std::string(path);
  return base + std::string(path);
}

// A word as the shell reads it back: plain when it holds only safe characters,
// else in single quotes (a single quote inside becomes '\'').
std::string shell_word(std::string_view word) {
  bool safe = !word.empty();
  for (char c : word)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
          std::string_view("_@%+=:,./-").find(c) != std::string_view::npos))
      safe = false;
  if (safe) return std::string(word);
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}

}  // namespace

command_line_items parse_command_line(std::string_view line, const std::string& base_directory,
                                      long_form_function long_form) {
  command_line_items result;
  std::size_t at = 0;
  for (;;) {
    skip_blanks(line, at);
    if (at >= line.size()) break;
    bool is_switch = line[at] == '/' && at + 1 < line.size() && !is_blank(line[at + 1]) &&
                     (at + 2 == line.size() || is_blank(line[at + 2]));
    if (is_switch) {
      char letter = line[at + 1];
      at += 2;
      if (letter == 'R' || letter == 'r') {
        result.read_only = true;
      } else if (letter == 'P' || letter == 'p') {
        result.command_mode = true;
        skip_blanks(line, at);
        std::string_view directory;
        if (at < line.size()) directory = next_item(line, at).text;
        result.directory = anchored(directory, base_directory);
        if (!result.directory.empty() && result.directory.back() != '/') result.directory += '/';
        skip_blanks(line, at);
        result.command = std::string(line.substr(at));
        break;
      }
      continue;
    }
    item it = next_item(line, at);
    if (it.quoted) {
      if (!it.text.empty()) result.files.push_back(anchored(it.text, base_directory));
      continue;
    }
    std::string converted;
    if (long_form && long_form(anchored(it.text, base_directory), converted))
      result.files.push_back(converted);
  }
  return result;
}

command_line_items parse_command_line(std::string_view line, const std::string& base_directory) {
  return parse_command_line(line, base_directory, long_path);
}

std::string join_arguments(int argc, const char* const* argv) {
  std::string line;
  int command_from = argc;  // index of the first word of a command, once /P was seen
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i] ? argv[i] : "";
    if (i >= command_from) {
      // The command goes to the shell as one string: quote each word for it so that
      // the shell sees the words the user typed.
      if (!line.empty()) line += ' ';
      line += shell_word(argument);
      continue;
    }
    bool needs_quotes = argument.empty() || argument.find_first_of(" \t") != std::string_view::npos;
    bool has_quote = argument.find('"') != std::string_view::npos;
    if ((!argument.empty() && argument[0] == '"') || (needs_quotes && has_quote)) continue;
    if (!line.empty()) line += ' ';
    if (needs_quotes) {
      line += '"';
      line += argument;
      line += '"';
    } else {
      line += argument;
    }
    if (argument == "/P" || argument == "/p") command_from = i + 2;
  }
  return line;
}

}  // namespace vintorel
