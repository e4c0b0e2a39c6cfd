// The README's table of the keys a newcomer needs must say what the keys do
// by default: each row's key, its name in vintorel.ini and its command agree
// with the default bindings.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "shell/key_bindings.h"

namespace vintorel {
namespace {

std::vector<std::string> cells_of(const std::string& row) {
  std::vector<std::string> cells;
  std::size_t at = row.find('|');
  while (at != std::string::npos) {
    std::size_t next = row.find('|', at + 1);
    if (next == std::string::npos) break;
    std::string cell = row.substr(at + 1, next - at - 1);
    std::string plain;
    for (char c : cell)
      if (c != '`') plain += c;
    std::size_t first = plain.find_first_not_of(' '), last = plain.find_last_not_of(' ');
    cells.push_back(first == std::string::npos ? "" : plain.substr(first, last - first + 1));
    at = next;
  }
  return cells;
}

// "Shift+Page Down" -> "shift pagedown", the way vintorel.ini names a key.
std::string slot_name_of(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '+')
      out += ' ';
    else if (c != ' ')
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

int slot_named(const std::string& name) {
  for (int slot = 0; slot < key_slot_count; ++slot)
    if (name == key_slot_name(slot)) return slot;
  return -1;
}

TEST(readme, the_key_table_matches_the_default_bindings) {
  std::ifstream in(std::string(VINTOREL_SOURCE_DIR) + "/README.md");
  ASSERT_TRUE(in) << "README.md not found";
  std::string line;
  bool in_table = false;
  int rows = 0;
  while (std::getline(in, line)) {
    if (!in_table) {
      in_table = line.rfind("| Key | Name in `vintorel.ini` | Command |", 0) == 0;
      continue;
    }
    if (line.empty() || line[0] != '|') break;
    if (line.rfind("|---", 0) == 0) continue;
    std::vector<std::string> cells = cells_of(line);
    ASSERT_GE(cells.size(), 4u) << line;
    ++rows;
    int slot = slot_named(cells[1]);
    ASSERT_GE(slot, 0) << "no key is named \"" << cells[1] << "\": " << line;
    EXPECT_EQ(slot_name_of(cells[0]), cells[1]) << line;
    EXPECT_EQ(std::string(key_slot_default(slot)), cells[2]) << line;
  }
  EXPECT_TRUE(in_table) << "the README has no key table";
  EXPECT_EQ(rows, 10);
}

}  // namespace
}  // namespace vintorel
