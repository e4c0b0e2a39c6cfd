// Typed text, the input method and dropped files through the real main window.
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>

#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class keyboard_window_test : public main_window_test {
 protected:
  void open_empty() {
    start(files_to_open({files.write("t.txt", "")}));
    ASSERT_EQ(w->work().text_count(), 2);
  }
  void send_im(const QString& preedit, const QString& commit) {
    QInputMethodEvent event(preedit, {});
    if (!commit.isNull()) event.setCommitString(commit);
    QApplication::sendEvent(w->client(), &event);
    settle();
  }
};

TEST_F(keyboard_window_test, double_byte_text_in_key_events_goes_in_once) {
  open_empty();
  for (const char* text : {"あ", "日本", "\u3000"}) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(text));
    QApplication::sendEvent(w->client(), &press);
    settle();
  }
  EXPECT_EQ(line(0), "\x82\xA0\x93\xFA\x96\x7B\x81\x40\x1a");
}

TEST_F(keyboard_window_test, text_typed_after_a_key_goes_in_after_the_keys_command) {
  // A busy window takes both keys from the window system before the first
  // key's posted command has run: the text still comes second.
  start(files_to_open({files.write("t.txt", "one\r\ntwo")}));
  w->post_command(to_int(command_id::forward_line_tail));
  QTest::keyClicks(w->client(), "x");
  settle();
  EXPECT_EQ(line(0), "one\r\n");
  EXPECT_EQ(line(1), "xtwo\x1a");
}

TEST_F(keyboard_window_test, composed_text_goes_in_once_and_a_cancelled_composition_not_at_all) {
  open_empty();
  send_im(QString::fromUtf8("かな"), QString());
  EXPECT_TRUE(w->keyboard().composing);
  EXPECT_EQ(line(0), "\x1a") << "nothing is inserted while composing";
  send_im(QString(), QString::fromUtf8("仮名"));
  EXPECT_FALSE(w->keyboard().composing);
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x1a");
  send_im(QString(), QString::fromUtf8("\u3000"));
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x81\x40\x1a") << "a committed full-width space goes in once";
  // A clause committed while the next is still being composed goes in once.
  send_im(QString::fromUtf8("う"), QString::fromUtf8("愛"));
  send_im(QString(), QString::fromUtf8("宇"));
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x81\x40\x88\xA4\x89\x46\x1a");
  send_im(QString::fromUtf8("か"), QString());
  send_im(QString(), QString());
  EXPECT_FALSE(w->keyboard().composing);
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x81\x40\x88\xA4\x89\x46\x1a");
}

TEST_F(keyboard_window_test, dropped_files_open_last_to_first_and_ctrl_makes_them_read_only) {
  std::string a = files.write("a.txt", "first\r\n"), b = files.write("b.txt", "second\r\n");
  start();
  auto drop = [&](std::vector<std::string> paths, Qt::KeyboardModifiers modifiers) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(w->frame(), &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(w->frame(), &event);
    settle();
  };
  drop({a, b}, Qt::ControlModifier);
  EXPECT_EQ(names(), (std::vector<std::string>{std::string(console_text_name), b, a}));
  EXPECT_EQ(w->work().text_at(1).state, read_only_state);
  EXPECT_EQ(w->work().text_at(2).state, read_only_state);
  EXPECT_EQ(w->work().current_text_index(), 2);
  // Without Ctrl it is writable; open read-only, it loads again.
  drop({a}, Qt::NoModifier);
  ASSERT_EQ(w->work().text_count(), 4);
  EXPECT_EQ(w->work().text_at(3).state, unchanged_state);
}

}  // namespace
}  // namespace vintorel
