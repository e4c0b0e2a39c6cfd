// Tests of the clipboard of the Qt user interface: line ends and characters
// without a Shift_JIS form.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "toolkit/qt_user_interface.h"

namespace vintorel {
namespace {

TEST(clipboard, text_goes_out_with_lf_and_comes_back_in_shift_jis) {
  qt_user_interface ui;
  ASSERT_TRUE(ui.set_clipboard_text("one\r\ntwo\x82\xA0\rthree\r\n"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("one\ntwoあ\rthree\n"));
  byte_string back;
  ASSERT_TRUE(ui.get_clipboard_text(back));
  EXPECT_EQ(back, "one\ntwo\x82\xA0\rthree\n");

  // Characters without a Shift_JIS form become "?"; a NUL ends the text.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("a€b") + QChar(0) + "c");
  ASSERT_TRUE(ui.get_clipboard_text(back));
  EXPECT_EQ(back, "a?b");
  ASSERT_TRUE(ui.set_clipboard_text(byte_string("x\0y", 3)));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "x");

  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(ui.get_clipboard_text(back));
}

}  // namespace
}  // namespace vintorel
