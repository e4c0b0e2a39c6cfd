// The command table against the text model's commands: a handler that runs a
// text command by name finds one, and every text command can be bound.
#include <gtest/gtest.h>

#include "shell/command_table.h"
#include "text/text_commands.h"

namespace vintorel {
namespace {

TEST(command_table, handlers_that_run_text_commands_find_them_by_name) {
  int by_name = 0;
  for (const command_record& r : command_records) {
    bool runs_text_command = r.run == handlers::text_command || r.run == handlers::text_command_that_may_ask ||
                             r.run == handlers::insert_linefeed || r.run == handlers::replace_after_question;
    if (!runs_text_command) continue;
    ++by_name;
    EXPECT_NE(find_text_command(r.name), nullptr) << r.name;
  }
  EXPECT_GT(by_name, 40);
  for (const text_command& t : text_commands()) {
    int index = find_command(t.name);
    EXPECT_NE(index, 0) << t.name << " is no command";
    EXPECT_EQ(find_command_record(command_of_index(index))->name, std::string(t.name));
  }
}

}  // namespace
}  // namespace vintorel
