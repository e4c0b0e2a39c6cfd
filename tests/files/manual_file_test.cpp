// The Shift_JIS manual made beside the editor: the help window's two excerpts and
// the width of its lines.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "files/manual_excerpt.h"
#include "platform/cp932.h"

namespace vintorel {
namespace {

TEST(manual_file, help_excerpts_start_their_chapters_and_lines_fit_the_window) {
  // 31 lines from 319 for the extension-style dialog, 35 from 351 for the program
  // dialog; each starts with its chapter heading, whose first character is the
  // Shift_JIS bracket 0x81 0x79.
  const struct { int first, count; const char* names; } excerpts[] = {
      {319, 31, "(ext.ini)"}, {351, 35, "(program.ini)"}};
  for (const auto& e : excerpts) {
    byte_string text = read_manual_excerpt(VINTOREL_MANUAL, e.first, e.count);
    ASSERT_FALSE(text.empty()) << "line " << e.first;
    std::string heading = text.substr(0, text.find("\r\n"));
    EXPECT_EQ(heading.substr(0, 2), "\x81\x79") << "line " << e.first;
    EXPECT_NE(heading.find(e.names), std::string::npos) << "line " << e.first;
  }
  // 60 columns at most, a double-byte character taking two.
  std::ifstream in(VINTOREL_MANUAL, std::ios::binary);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    int columns = 0;
    for (std::size_t i = 0; i < line.size(); i += is_lead_byte(static_cast<unsigned char>(line[i])) ? 2 : 1)
      columns += is_lead_byte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    EXPECT_LE(columns, 60) << "line " << number;
  }
}

}  // namespace
}  // namespace vintorel
