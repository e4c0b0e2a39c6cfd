// The help window: the manual's lines beside the executable, nothing when the
// manual is missing, and the Close button marking it closed.
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/dialog_help.h"
#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::scratch_dir;

QString shown_text(dialog_help& help) {
  auto* edit = help.handle() ? help.handle()->findChild<QPlainTextEdit*>() : nullptr;
  return edit ? edit->toPlainText() : QString("(none)");
}

TEST(help_window, shows_the_range_of_the_manual_and_is_marked_closed_by_close) {
  scratch_dir dir;
  std::string manual = dir.write("vintorel.txt", "1\n2\nthree\nfour\n5\n");
  dialog_help help(manual, 3, 2);
  ASSERT_TRUE(help.open(nullptr));
  EXPECT_EQ(shown_text(help), "three\nfour\n");
  EXPECT_FALSE(help.closed());
  QPushButton* close = help.handle()->findChild<QPushButton*>();
  ASSERT_NE(close, nullptr);
  close->click();
  EXPECT_TRUE(help.closed());
  help.destroy();
}

TEST(help_window, a_missing_or_short_manual_shows_an_empty_window) {
  scratch_dir dir;
  dialog_help missing(dir.dir() + "vintorel.txt", 319, 31);
  ASSERT_TRUE(missing.open(nullptr));
  EXPECT_EQ(shown_text(missing), "");
  missing.destroy();
  std::string manual = dir.write("vintorel.txt", "only\nthree\nlines\n");
  dialog_help short_one(manual, 2, 5);
  ASSERT_TRUE(short_one.open(nullptr));
  EXPECT_EQ(shown_text(short_one), "");
  short_one.destroy();
}

}  // namespace
}  // namespace vintorel
