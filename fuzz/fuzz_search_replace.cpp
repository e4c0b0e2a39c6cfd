// Fuzzes the search pattern (stars and backslashes of a search string typed by
// the user), the scan for matches over arbitrary line bytes, and replace-all
// over a text built from those lines. Input: one flag byte, one length byte,
// the search string, then the lines separated by LF; the replacement is the
// first line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "line_checks.h"
#include "text/char_class.h"
#include "text/edit_context.h"
#include "text/positions.h"
#include "text/replace.h"
#include "text/search_pattern.h"
#include "text/search_strings.h"
#include "text/text_document.h"

using namespace vintorel;

namespace {

// Every match the scanner finds is one that matches_at finds at a character
// start, and the other way round.
void check_scan(const byte_string& line, const search_pattern& pattern) {
  std::vector<std::size_t> expected, found;
  for (std::size_t p = 0; p < line.size(); ++p) {
    bool match = matches_at(line, p, pattern);
    if (match && is_trail_byte(line.c_str(), line.c_str() + p)) std::abort();
    if (match) expected.push_back(p);
  }
  match_scanner scanner(line, pattern);
  for (std::size_t at = scanner.next(0, line.size(), line.size()); at != std::string_view::npos;
       at = scanner.next(at + 1, line.size(), line.size())) {
    if (at + pattern.n > line.size()) std::abort();
    found.push_back(at);
  }
  if (found != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 4096) return 0;
  bool ignore_case = data[0] & 1;
  bool word_search = data[0] & 2;
  std::size_t length = data[1] % (size - 1);
  std::string search(reinterpret_cast<const char*>(data + 2), length > size - 2 ? size - 2 : length);
  std::string_view rest(reinterpret_cast<const char*>(data + 2 + search.size()),
                        size - 2 - search.size());
  std::vector<byte_string> lines;
  for (std::size_t at = 0;;) {
    std::size_t end = rest.find('\n', at);
    byte_string line(rest.substr(at, end == std::string_view::npos ? end : end - at));
    // The internal form: no line end or end mark inside a line.
    for (char& c : line)
      if (c == '\r' || c == '\x1A') c = ' ';
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    at = end + 1;
  }

  search_pattern pattern = prepare_pattern(search, ignore_case, word_search);
  for (const byte_string& line : lines) check_scan(line + "\r\n", pattern);

  text_document document;
  document.create_empty("fuzz");
  std::int64_t total = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool last = i + 1 == lines.size();
    byte_string text = lines[i] + (last ? "\x1A" : "\r\n");
    total += static_cast<std::int64_t>(text.size());
    if (last)
      document.replace_line(static_cast<std::int32_t>(i), text);
    else
      document.insert_line(static_cast<std::int32_t>(i), text);
  }
  document.size = total - 1;
  search_strings strings{search, lines.front()};
  edit_context context;
  context.search = &strings;
  context.settings.ignore_case = ignore_case;
  context.settings.word_search = word_search;
  if (!reload_current_line(document, context)) std::abort();
  replace_all(document, context);

  fuzz_checks::require_sound_lines(document);
  return 0;
}
