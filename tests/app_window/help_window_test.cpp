// The help window: the manual's lines, nothing when it is missing or short,
// and Close marking it closed.
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/dialog_help.h"
#include "main_window_fixture.h"

namespace vintorel {
namespace {

TEST(help_window, shows_the_range_or_nothing_and_close_marks_it_closed) {
  window_test::scratch_dir dir;
  auto shown = [](const std::string& path, int first, int count) {
    dialog_help help(path, first, count);
    EXPECT_TRUE(help.open(nullptr));
    QString text = help.handle()->findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_FALSE(help.closed());
    help.handle()->findChild<QPushButton*>()->click();
    EXPECT_TRUE(help.closed());
    help.destroy();
    return text;
  };
  EXPECT_EQ(shown(dir.dir() + "vintorel.txt", 319, 31), "") << "missing";
  EXPECT_EQ(shown(dir.write("short.txt", "only\nthree\nlines\n"), 2, 5), "") << "short";
  EXPECT_EQ(shown(dir.write("vintorel.txt", "1\n2\nthree\nfour\n5\n"), 3, 2), "three\nfour\n");
}

}  // namespace
}  // namespace vintorel
