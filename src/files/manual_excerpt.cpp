// Cutting the help window's lines out of the manual file.
#include "files/manual_excerpt.h"

#include <fstream>
#include <iterator>

namespace vintorel {

byte_string manual_excerpt(std::string_view contents, int first_line, int line_count) {
  if (first_line < 1 || line_count < 1) return {};
  std::size_t at = 0;
  for (int skipped = 1; skipped < first_line; ++skipped) {
    std::size_t newline = contents.find('\n', at);
    if (newline == std::string_view::npos) return {};
    at = newline + 1;
  }
  byte_string out;
  for (int i = 0; i < line_count; ++i) {
    // The file ended before this line.
    if (at >= contents.size()) return {};
    std::size_t newline = contents.find('\n', at);
    std::size_t end = newline == std::string_view::npos ? contents.size() : newline;
    std::size_t content_end = end;
    if (newline != std::string_view::npos && content_end > at && contents[content_end - 1] == '\r') --content_end;
    // Room is kept for the terminator.
    if (out.size() + (content_end - at) + 2 + 1 > manual_excerpt_room) return {};
    out.append(contents.substr(at, content_end - at));
    if (newline != std::string_view::npos) out += "\r\n";
    at = newline == std::string_view::npos ? contents.size() : newline + 1;
  }
  return out;
}

byte_string read_manual_excerpt(const std::string& path, int first_line, int line_count) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  // The manual is small; the excerpts lie in its first lines, so a read of
  // at most a megabyte serves (and a huge or endless file costs no more).
  std::string contents;
  contents.resize(1 << 20);
  in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
  contents.resize(static_cast<std::size_t>(in.gcount()));
  return manual_excerpt(contents, first_line, line_count);
}

}  // namespace vintorel
