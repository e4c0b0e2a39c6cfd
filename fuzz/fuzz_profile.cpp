// Fuzzes the settings-file reader and the in-memory edits over arbitrary file bytes.
// Input: three names (section, key, value), each a length byte and its bytes, then
// the file contents.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "take_part.h"
#include "settings/settings_file.h"

using namespace vintorel;

namespace {

using fuzz_support::take_part;

bool plain(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view section = take_part(in);
  std::string_view key = take_part(in);
  std::string_view value = take_part(in);
  std::string_view contents = in;

  std::string got = profile_value_in(contents, section, key, "default", 12);
  if (got.size() > 11) std::abort();
  profile_section_names_in(contents);
  profile_without_key(contents, section, key);
  std::string without = profile_without_section(contents, section);
  if (without.size() > contents.size()) std::abort();
  with_section_ordered(contents, section);

  // A value written where the writers accept it reads back as written, unless the
  // reader's own trimming and quote rules change it.
  std::string with = profile_with_value(contents, section, key, value);
  std::string_view k = key;
  while (!k.empty() && (k.front() == ' ' || k.front() == '\t')) k.remove_prefix(1);
  while (!k.empty() && (k.back() == ' ' || k.back() == '\t')) k.remove_suffix(1);
  bool names_ok = plain(section) && plain(key) && !k.empty() && k.find('=') == k.npos &&
                  k[0] != '[' && k[0] != ';' && section.find(']') == section.npos;
  bool dangling = false;
  for (char c : section) dangling = dangling ? false : (static_cast<unsigned char>(c) >= 0x81 &&
                                                        (static_cast<unsigned char>(c) <= 0x9F ||
                                                         static_cast<unsigned char>(c) >= 0xE0) &&
                                                        static_cast<unsigned char>(c) <= 0xFC);
  bool value_ok = plain(value) && (value.empty() || (value.front() != ' ' && value.front() != '\t' &&
                                                     value.back() != ' ' && value.back() != '\t' &&
                                                     value.front() != '"'));
  if (names_ok && !dangling && value_ok) {
    std::string back = profile_value_in(with, section, key, "", 64);
    if (back != value) std::abort();
    // Nothing before the edit point is lost: every other section is still there.
    if (profile_section_names_in(with).size() < profile_section_names_in(contents).size())
      std::abort();
  }
  return 0;
}
