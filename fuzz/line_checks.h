// What the fuzz targets that edit a text require of it afterwards: every line in
// the internal form and `size` in step with the lines.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "text/text_document.h"

namespace vintorel::fuzz_checks {

// Aborts unless every line but the last ends in CR LF, with no other CR and no
// end mark, the last line holds the end mark at its end and no CR, and `size`
// counts every byte but the mark. The cursor line is committed first.
inline void require_sound_lines(text_document& document) {
  document.commit_current_line();
  std::int64_t counted = 0;
  byte_string line;
  for (std::int32_t i = 0; i < document.line_count(); ++i) {
    if (!document.fetch_line(i, line)) std::abort();
    bool last = i + 1 == document.line_count();
    std::size_t cr = line.find('\r');
    if (last) {
      if (line.empty() || line.find('\x1A') != line.size() - 1 || cr != byte_string::npos)
        std::abort();
    } else if (line.size() < 2 || cr != line.size() - 2 || line.back() != '\n' ||
               line.find('\x1A') != byte_string::npos) {
      std::abort();
    }
    counted += static_cast<std::int64_t>(line.size());
  }
  if (document.size != counted - 1) std::abort();
}

}  // namespace vintorel::fuzz_checks
