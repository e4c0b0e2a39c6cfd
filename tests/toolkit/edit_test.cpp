// Tests of an edit control in a dialog: its text as Shift_JIS bytes within
// byte limits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "toolkit/dialog.h"
#include "toolkit/edit.h"

namespace vintorel {
namespace {

const dialog_template command_dialog{"DIALOG_TEST", "command", 200, 40, true, {
    {804, control_kind::edit, 0, 0, 200, 10, "", style_border},
    {1, control_kind::default_button, 0, 20, 28, 13, "OK"}}};

TEST(edit, byte_limits_never_cut_a_double_byte_character) {
  dialog d;
  ASSERT_EQ(d.run(command_dialog, nullptr, true), 1);
  edit_commandline command;
  ASSERT_TRUE(command.attach(d.handle(), 804));
  command.set_text("ab\x82\xA0");
  char buffer[8];
  EXPECT_EQ(command.get_text(buffer, 4), 2u);
  EXPECT_STREQ(buffer, "ab");
  // The command line takes 255 bytes; a double-byte character counts two.
  command.set_text(std::string(254, 'a'));
  d.item(804)->setFocus();
  for (const char* typed : {"あ", "b", "c"}) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(typed));
    QApplication::sendEvent(d.item(804), &key);
  }
  EXPECT_EQ(command.text(), std::string(254, 'a') + "b");
  d.destroy();
}

}  // namespace
}  // namespace vintorel
