// The program-wide buffer of deleted characters that undo_char takes back from.
#include "text/deleted_chars.h"

#include <algorithm>
#include <cstring>

namespace vintorel {

deleted_char_buffer::deleted_char_buffer(int capacity)
    : limit(std::max(4, capacity)), storage(static_cast<std::size_t>(limit) * 3 + 1, 0) {}

void deleted_char_buffer::clear() {
  count = 0;
  storage[0] = 0;
}

void record_deletion(deleted_char_buffer& buffer, bool from_backspace, unsigned char first,
                     unsigned char second) {
  if (buffer.count >= buffer.limit - 1) {
    // Drop the oldest quarter, keeping the rest in order.
    int drop = buffer.limit / 4;
    int keep = buffer.count - drop;
    std::memmove(buffer.storage.data(), buffer.storage.data() + 3 * drop,
                 static_cast<std::size_t>(keep) * 3);
    buffer.count = keep;
  }
  unsigned char* entry = buffer.storage.data() + 3 * buffer.count;
  entry[0] = from_backspace ? 1 : 0;
  entry[1] = first;
  entry[2] = second;
  buffer.count += 1;
  buffer.storage[3 * static_cast<std::size_t>(buffer.count)] = 0;
}

}  // namespace vintorel
