// Fuzzes the tag-jump search over any line: every name offered as a file lies
// inside the line behind the base directory, the search always moves on, and
// the line number is never negative.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exec/tag_jump.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string base = "/base/";
  // Every second name counts as a file, so the search both finds and skips.
  int asked = 0;
  auto is_file = [&](const std::string& path) {
    if (path.empty() || path.size() > 255) std::abort();
    bool from_line = line.find(path) != std::string_view::npos ||
                     (path.compare(0, base.size(), base) == 0 && line.find(path.substr(base.size())) != std::string_view::npos);
    if (!from_line) std::abort();
    return ++asked % 2 == 0;
  };
  std::size_t from = 0;
  tag_target target;
  for (int rounds = 0; rounds <= static_cast<int>(size) + 1; ++rounds) {
    std::size_t before = from;
    if (!find_tag(line, base, is_file, from, target)) return 0;
    if (from <= before || from > size || target.line_number < 0) std::abort();
  }
  std::abort();  // the search never ended
}
