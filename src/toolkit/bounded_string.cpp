// Bounded copies, appends and shifts on terminated byte buffers, and a
// case-insensitive search that respects double-byte characters.
#include "toolkit/bounded_string.h"

#include <cstring>
#include <string>

#include "platform/cp932.h"

namespace vintorel {

std::size_t copy_bounded(char* dest, std::size_t size, std::string_view src) {
  if (size == 0) return 0;
  std::size_t n = src.size() < size - 1 ? src.size() : size - 1;
  std::memmove(dest, src.data(), n);
  dest[n] = '\0';
  return n;
}

std::size_t append_bounded(char* dest, std::size_t size, std::string_view src) {
  if (size == 0) return 0;
  std::size_t used = strnlen(dest, size);
  if (used >= size) {  // not terminated inside the buffer: terminate it
    dest[size - 1] = '\0';
    return size - 1;
  }
  return used + copy_bounded(dest + used, size - used, src);
}

void make_room(char* text, std::size_t size, std::size_t n) {
  if (size == 0) return;
  if (n > size - 1) n = size - 1;
  std::size_t length = strnlen(text, size);
  if (length > size - 1) length = size - 1;
  std::size_t kept = length + n <= size - 1 ? length : size - 1 - n;
  std::memmove(text + n, text, kept);
  text[n + kept] = '\0';
}

std::size_t find_ignore_case(std::string_view text, std::string_view word) {
  if (word.empty()) return 0;
  for (std::size_t i = 0; i + word.size() <= text.size();) {
    // mbs_compare_nocase stops at a NUL both share; compare on copies of the
    // right length so embedded bytes never end the comparison early.
    if (mbs_compare_nocase(std::string(text.substr(i, word.size())).c_str(),
                           std::string(word).c_str(), word.size()) == 0) {
      return i;
    }
    i += is_lead_byte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return std::string_view::npos;
}

}  // namespace vintorel
