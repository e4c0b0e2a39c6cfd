// Fuzzes the one-write section replacement over arbitrary settings-file bytes.
// Input: the old and new section names, a key and a value, each a length byte
// and its bytes, then the file contents.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "take_part.h"
#include "settings/settings_section.h"

using namespace vintorel;

using fuzz_support::take_part;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view old_section = take_part(in);
  std::string_view section = take_part(in);
  std::string_view key = take_part(in);
  std::string_view value = take_part(in);
  std::string_view contents = in;

  is_acceptable_title(section);
  std::string out;
  if (!with_section_replaced(contents, old_section, section, {{std::string(key), std::string(value)}}, out))
    return 0;
  // The new section is there exactly once, so its keys cannot land elsewhere.
  int found = 0;
  for (const std::string& name : profile_section_names_in(out)) found += profile_names_equal(name, section);
  if (found != 1) std::abort();
  return 0;
}
