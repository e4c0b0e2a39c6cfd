// Key bindings read from the "key" section: every reload rewrites the whole
// table, so a key taken out of the file goes back to its default.
#include <gtest/gtest.h>

#include "shell/key_bindings.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

TEST(key_bindings, a_reload_rebinds_restores_defaults_and_leaves_unknown_names_unbound) {
  test_support::scratch_dir dir;
  key_binding_table_type table{};
  const int pagedown = 86, f1 = 0, ctrl_down = 118;
  EXPECT_EQ(bound_command_id(table, pagedown), 200);
  load_key_bindings(table, dir.path("missing.ini"));
  EXPECT_EQ(bound_command_id(table, pagedown), 249);
  EXPECT_EQ(bound_command_id(table, ctrl_down), 279);

  // A name differing only in case is no command; an empty value unbinds.
  std::string ini = dir.write("vintorel.ini", "[key]\npagedown=forward_page\nf1=FORWARD_PAGE\nctrl down=\n");
  load_key_bindings(table, ini);
  EXPECT_EQ(bound_command_id(table, pagedown), 269);
  EXPECT_EQ(bound_command_id(table, f1), 200);
  EXPECT_EQ(bound_command_id(table, ctrl_down), 200);

  dir.write("vintorel.ini", "[key]\n");
  load_key_bindings(table, ini);
  EXPECT_EQ(bound_command_id(table, pagedown), 249);
  EXPECT_EQ(bound_command_id(table, ctrl_down), 279);
}

}  // namespace
}  // namespace vintorel
