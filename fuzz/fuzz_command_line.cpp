// Fuzzes the command-line parser and the joining of arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shell/command_line.h"

using namespace vintorel;

namespace {

// Every unquoted item "exists" unless it starts with "x", so both paths run.
bool pretend_long_form(const std::string& path, std::string& out) {
  if (path.find("/x") != std::string::npos) return false;
  out = path;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  command_line_items items = parse_command_line(line, "/base/", pretend_long_form);
  for (const std::string& f : items.files)
    if (f.empty()) std::abort();
  if (items.command_mode && (items.directory.empty() || items.directory.back() != '/')) std::abort();
  if (items.command.size() > line.size()) std::abort();

  // Arguments split at zero bytes join into a line that parses back into files.
  std::vector<std::string> words = {"vintorel"};
  std::string_view rest = line;
  while (!rest.empty()) {
    std::size_t zero = rest.find('\0');
    words.emplace_back(rest.substr(0, zero));
    if (zero == std::string_view::npos) break;
    rest.remove_prefix(zero + 1);
  }
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  std::string joined = join_arguments(static_cast<int>(argv.size()), argv.data());
  parse_command_line(joined, "", pretend_long_form);
  return 0;
}
