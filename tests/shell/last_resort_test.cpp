// The last resort rescues every modified text, file-backed or new, and leaves
// unmodified ones and the console alone.
#include "shell/last_resort.h"

#include <gtest/gtest.h>

#include "display/painter.h"
#include "files/load_text.h"
#include "platform/charsets.h"
#include "scratch_dir.h"
#include "scoped_env.h"
#include "shell/workspace.h"

namespace vintorel {
namespace {

TEST(last_resort, every_modified_text_is_written_to_a_rescue_file) {
  test_support::scratch_dir dir;
  test_support::scoped_env tmp("TMP_RAM", dir.dir().c_str());
  display_context display;
  settings_record settings;
  workspace work(display, settings, dir.path("ext.ini"));
  set_pane_layout(display.layout, display.lines, display.columns, false, false);
  auto add = [&](std::unique_ptr<text_document> d) { work.add_text(work.text_count(), std::move(d)); };
  auto console = std::make_unique<text_document>();
  console->create_empty(std::string(console_text_name));
  console->insert_line(0, "output\r\n");
  console->state = modified_state;
  add(std::move(console));
  for (const char* name : {"edited.txt", "untouched.txt"}) {
    auto d = std::make_unique<text_document>();
    load_text_file(*d, dir.write(name, "one\r\ntwo\r\n"), false, 0, 0, 0, 0, shift_jis, crlf);
    add(std::move(d));
  }
  // Typed over the cursor line and not committed yet.
  ASSERT_TRUE(work.text_at(1).current);
  work.text_at(1).current->text = "ONE\r\n";
  auto fresh = std::make_unique<text_document>();
  fresh->create_empty("???");
  fresh->replace_line(0, "new text\x1A");
  fresh->state = modified_state;
  add(std::move(fresh));

  const std::vector<std::string> lines = rescue_modified_texts(work);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], dir.path("edited.txt") + " -> " + dir.path("edited.txt.rescue"));
  EXPECT_EQ(dir.read("edited.txt.rescue"), "ONE\r\ntwo\r\n");
  EXPECT_EQ(lines[1], "??? -> " + dir.path("untitled.rescue"));
  EXPECT_EQ(dir.read("untitled.rescue"), "new text");
  EXPECT_EQ(dir.read("edited.txt"), "one\r\ntwo\r\n");  // the file itself is not touched
}

}  // namespace
}  // namespace vintorel
