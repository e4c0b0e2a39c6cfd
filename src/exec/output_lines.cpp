// Cleaning and cutting the child's output.
#include "exec/output_lines.h"

#include <cstring>

#include "platform/cp932.h"

namespace vintorel {

std::size_t clean_output(char* data, std::size_t size, bool& ends_in_lead) {
  ends_in_lead = false;
  std::size_t out = 0;
  std::size_t i = 0;
  while (i < size) {
    unsigned char c = static_cast<unsigned char>(data[i]);
    if (is_lead_byte(c)) {
      if (i + 1 == size) {
        ends_in_lead = true;
        data[out++] = data[i++];
        break;
      }
      unsigned char second = static_cast<unsigned char>(data[i + 1]);
      if (second == '\r' || second == '\n' || second == '\0') {
        // No character has these as its second byte: the lone lead byte
        // goes, rather than swallow a line end or hide the rest of the run.
        ++i;
        continue;
      }
      data[out++] = data[i++];
      data[out++] = data[i++];
    } else if (c == '\r' || c == '\0') {
      // A NUL would end the zero-terminated run early and lose what follows.
      ++i;
    } else {
      data[out++] = data[i++];
    }
  }
  return out;
}

void output_lines::feed(const char* data, std::size_t size, output_events& events) {
  if (size == 0) return;
  work_.assign(pending_);
  pending_.clear();
  work_.append(data, size);
  bool ends_in_lead = false;
  std::size_t n = clean_output(work_.data(), work_.size(), ends_in_lead);
  work_.resize(n);
  if (ends_in_lead) {
    pending_.assign(1, work_.back());
    work_.pop_back();
  }
  // Each LF ends a run; what follows the last one is inserted at once and
  // continued by the next read, since the cursor stays behind it.
  std::size_t start = 0;
  for (;;) {
    const void* hit = std::memchr(work_.data() + start, '\n', work_.size() - start);
    std::size_t end = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - work_.data()) : work_.size();
    if (end > start) {
      char saved = work_[end];  // the LF, or the terminating zero
      work_[end] = '\0';
      events.text(work_.data() + start);
      work_[end] = saved;
    }
    if (!hit) break;
    events.line_feed();
    start = end + 1;
  }
}

}  // namespace vintorel
