// Fuzzes the splitting of a response file into lines and the lines written for a hand-over.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/response_file.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view contents(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines = split_response_lines(contents);
  std::size_t total = 0;
  for (const std::string& l : lines) {
    if (l.find('\n') != std::string::npos) std::abort();
    total += l.size() + 1;
  }
  if (!lines.empty() && total < contents.size()) std::abort();

  // Lines written for files come back as the same lines.
  command_line_items items;
  items.files = lines;
  std::vector<std::string> out = response_lines(items);
  std::string written;
  for (const std::string& l : out) written += l + "\n";
  if (split_response_lines(written) != out) std::abort();
  return 0;
}
