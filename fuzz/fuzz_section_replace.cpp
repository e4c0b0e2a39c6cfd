// Fuzzes the one-write section replacement over arbitrary settings-file bytes.
// Input: the old and new section names, a key and a value, each a length byte
// and its bytes, then the file contents.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "settings/settings_section.h"

using namespace vintorel;

namespace {

std::string_view take(std::string_view& in) {
  if (in.empty()) return {};
  std::size_t n = static_cast<unsigned char>(in[0]) % 24;
  in.remove_prefix(1);
  n = n < in.size() ? n : in.size();
  std::string_view part = in.substr(0, n);
  in.remove_prefix(n);
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view old_section = take(in);
  std::string_view section = take(in);
  std::string_view key = take(in);
  std::string_view value = take(in);
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
