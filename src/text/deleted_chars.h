// The deleted-character buffer: one bounded buffer for the whole program that
// every recorded deletion feeds and undo_char takes back from.
#pragma once
#include <cstdint>
#include <vector>

namespace vintorel {

struct deleted_char_buffer {
  // Entry i is bytes 3i..3i+2: 1 when removed by a backspace (else 0), the
  // first byte of the character (13 for a line end), the second byte (10 for a
  // line end, 0 for a single byte). The byte after the last entry is kept 0.
  int limit = 1024;
  int count = 0;
  std::vector<unsigned char> storage;

  // `limit` is the "buffer delete" setting; below 4 counts as 4.
  explicit deleted_char_buffer(int limit = 1024);
  void clear();
};

// Records one deleted character; when the buffer is nearly full the oldest
// quarter is dropped first.
void record_deletion(deleted_char_buffer& buffer, bool from_backspace, unsigned char first,
                     unsigned char second);

}  // namespace vintorel
