// Finding the address under the cursor.
#include "exec/url_at.h"

#include <cstring>

#include "platform/cp932.h"


namespace vintorel {

bool is_address_byte(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return false;
  return std::strchr("\"<>[\\]^`{|}", c) == nullptr;
}

byte_string address_at(std::string_view line, std::size_t position) {
  if (position >= line.size() || !is_address_byte(static_cast<unsigned char>(line[position]))) return {};
  // The run of single-byte address characters that ends at the cursor,
  // found from the start of the line in one pass: a second byte of a
  // double-byte character may look like an address byte.
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < position) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    std::size_t next = is_lead_byte(c) ? i + 2 : i + 1;
    if (next - i != 1 || !is_address_byte(c)) start = next;
    i = next;
  }
  // The cursor inside a double-byte character: no address.
  if (i != position) return {};
  if (line.substr(start, 4) != "http") return {};
  std::size_t end = start;
  while (end < line.size() && end - start < max_address_bytes && is_address_byte(static_cast<unsigned char>(line[end])))
    ++end;
  return byte_string(line.substr(start, end - start));
}

}  // namespace vintorel
