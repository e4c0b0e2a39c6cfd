// Finding a file name and line number in a line.
#include "exec/tag_jump.h"

#include <cstring>

#include "platform/cp932.h"

namespace vintorel {

namespace {

// Longer paths are refused rather than cut, which could name another file.
constexpr std::size_t max_path_bytes = 255;

// The byte after character start `i`.
std::size_t next_char(std::string_view line, std::size_t i) {
  return is_lead_byte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? i + 2 : i + 1;
}

}  // namespace

bool ends_tag_name(unsigned char c) {
  return c != 0 && std::strchr("\t\n \"()*,:;<>?[]{|}", c) != nullptr;
}

bool skipped_before_tag_name(unsigned char c) { return c == '\r' || ends_tag_name(c); }

bool find_tag(std::string_view line, const std::string& base_directory,
              const std::function<bool(const std::string&)>& is_file, std::size_t& from, tag_target& out) {
  std::size_t i = from;
  while (i < line.size()) {
    // Separators are single bytes; a double-byte character belongs to a name.
    while (i < line.size() && skipped_before_tag_name(static_cast<unsigned char>(line[i]))) ++i;
    if (i >= line.size()) break;
    std::size_t start = i;
    while (i < line.size() && !ends_tag_name(static_cast<unsigned char>(line[i]))) i = next_char(line, i);
    if (i > line.size()) i = line.size();
    std::string name(line.substr(start, i - start));
    std::string path = !name.empty() && name[0] == '/' ? name : base_directory + name;
    if (path.size() > max_path_bytes || !is_file(path)) continue;
    std::size_t digit = line.find_first_of("0123456789", i);
    if (digit == std::string_view::npos) continue;
    std::int64_t number = 0;
    for (std::size_t d = digit; d < line.size() && line[d] >= '0' && line[d] <= '9'; ++d) {
      number = number * 10 + (line[d] - '0');
      if (number > INT32_MAX) number = INT32_MAX;
    }
    out.path = path;
    out.line_number = static_cast<std::int32_t>(number);
    from = i;
    return true;
  }
  from = line.size();
  return false;
}

}  // namespace vintorel
