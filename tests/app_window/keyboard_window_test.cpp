// Keys, typed text and the input method driven through the real main window.
#include <QInputMethodEvent>
#include <QTimer>
#include <QTextCharFormat>

#include "app/command_table.h"
#include "display/status_line.h"
#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class keyboard_window_test : public main_window_test {
 protected:
  void open_with(const std::string& name, const std::string& content) {
    std::string path = files.write(name, content);
    start(files_to_open({path}));
    ASSERT_EQ(w->text_count(), 2);
  }
  void send_im(const QString& preedit, const QString& commit, QList<QInputMethodEvent::Attribute> attributes = {}) {
    QInputMethodEvent event(preedit, attributes);
    if (!commit.isNull()) event.setCommitString(commit);
    QApplication::sendEvent(w->client(), &event);
    settle();
  }
  bool bottom_line_shows_escape() {
    return bottom_line_text(w->display().bottom_line, false).rfind("[ESC ]", 0) == 0;
  }
};

TEST_F(keyboard_window_test, typed_ascii_goes_into_a_new_text) {
  start();
  answers.confirm_answers = {true};
  w->send_command(216);
  ASSERT_EQ(w->text_count(), 2);
  EXPECT_EQ(current().name, "???");
  type("Hello, world!");
  EXPECT_EQ(line(0), "Hello, world!\x1a");
  EXPECT_EQ(current().column, 13);
  EXPECT_TRUE(current().is_modified()) << "the cursor line is edited";
}

TEST_F(keyboard_window_test, enter_splits_the_line_with_the_style_s_automatic_indent) {
  files.write("ext.ini", "[c/h]\ntab size=4\nauto indent=+\n");
  open_with("a.c", "\t\tint x;\r\n");
  click(Qt::Key_Right, Qt::ControlModifier);  // to the end of the line
  click(Qt::Key_Return);
  EXPECT_EQ(current().current_line, 1);
  EXPECT_EQ(line(0), "\t\tint x;\r\n");
  EXPECT_EQ(line(1), "\t\t\r\n") << "the tabs of the line above";
  EXPECT_EQ(current().column, 8) << "two tabs of the style's size 4";

  // Without a style there is no indent.
  w->destroy();
  open_with("a.txt", "\t\tint x;\r\n");
  click(Qt::Key_Right, Qt::ControlModifier);
  click(Qt::Key_Return);
  EXPECT_EQ(current().column, 0);
}

TEST_F(keyboard_window_test, escape_prefixes_and_ctrl_letters) {
  key_binding_table[47] = find_command("forward_tail");   // "esc x"
  key_binding_table[54] = find_command("forward_tail");   // "ctrl e"
  key_binding_table[50] = find_command("backward_head");  // "ctrl a"
  open_with("t.txt", "abc def");
  click(Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(current().column, 7);
  click(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(current().column, 0);
  click(Qt::Key_Z, Qt::ControlModifier);  // unbound: nothing, and no control character typed
  EXPECT_EQ(line(0), "abc def\x1a");
  click(Qt::Key_Escape);
  EXPECT_TRUE(bottom_line_shows_escape());
  click(Qt::Key_X);
  EXPECT_EQ(current().column, 7) << "Esc x runs the bound command";
  EXPECT_EQ(line(0), "abc def\x1a");
  EXPECT_FALSE(bottom_line_shows_escape());

  click(Qt::Key_Escape);
  click(Qt::Key_5);
  EXPECT_EQ(line(0), "abc def5\x1a") << "Esc then a digit types the digit";
  EXPECT_FALSE(w->keyboard().escape_pending);

  click(Qt::Key_Escape);
  click(Qt::Key_Escape);
  EXPECT_FALSE(bottom_line_shows_escape());
  click(Qt::Key_X);
  EXPECT_EQ(line(0), "abc def5x\x1a") << "Esc twice turns the prefix off again";
}

TEST_F(keyboard_window_test, named_and_function_keys_post_their_slots) {
  open_with("t.txt", "abc");
  // Slot n bound to command n: the posted id is 200 + slot.
  for (int slot = 0; slot < key_slot_count; ++slot) key_binding_table[static_cast<std::size_t>(slot)] = slot;
  w->forward = false;
  const Qt::Key named[14] = {Qt::Key_Tab,  Qt::Key_Space,  Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Insert,
                             Qt::Key_Delete, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown,
                             Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
  auto posted = [&](Qt::Key key, Qt::KeyboardModifiers mods) {
    w->commands.clear();
    click(key, mods);
    return w->commands;
  };
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(posted(named[i], Qt::NoModifier), std::vector<int>{277 + i}) << i;
    EXPECT_EQ(posted(named[i], Qt::ShiftModifier), std::vector<int>{292 + i}) << i;
    EXPECT_EQ(posted(named[i], Qt::ControlModifier), std::vector<int>{307 + i}) << i;
  }
  EXPECT_EQ(posted(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier), std::vector<int>{319});
  for (int i = 0; i < 12; ++i) {
    Qt::Key f = static_cast<Qt::Key>(Qt::Key_F1 + i);
    EXPECT_EQ(posted(f, Qt::NoModifier), std::vector<int>{200 + i}) << "F" << i + 1;
    EXPECT_EQ(posted(f, Qt::ShiftModifier), std::vector<int>{212 + i}) << "shift F" << i + 1;
    EXPECT_EQ(posted(f, Qt::ControlModifier), std::vector<int>{200 + i}) << "ctrl F" << i + 1;
  }
  EXPECT_EQ(posted(Qt::Key_Escape, Qt::ShiftModifier), std::vector<int>{291});
}

TEST_F(keyboard_window_test, shift_shows_the_shift_labels_while_held) {
  settings.function = "F1:plain";
  settings.function_shift = "F1:shifted";
  start();
  QTest::keyPress(w->client(), Qt::Key_Shift);
  EXPECT_TRUE(w->keyboard().shift_held);
  EXPECT_NE(bottom_line_text(w->display().bottom_line, w->keyboard().shift_held).find("F1:shifted"),
            std::string::npos);
  QTest::keyRelease(w->client(), Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_FALSE(w->keyboard().shift_held);
  // A menu opened by key clears the flag before it shows.
  QTest::keyPress(w->client(), Qt::Key_Shift);
  QTimer::singleShot(0, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  });
  w->send_command(202);
  EXPECT_FALSE(w->keyboard().shift_held);
  QTest::keyRelease(w->client(), Qt::Key_Shift, Qt::ShiftModifier);
}

TEST_F(keyboard_window_test, the_composition_is_drawn_and_its_result_inserted_once) {
  open_with("t.txt", "");
  QTextCharFormat target;
  target.setBackground(Qt::blue);
  send_im(QString::fromUtf8("かな"), QString(),
          {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, 2, target),
           QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 2, 1)});
  EXPECT_TRUE(w->keyboard().composing);
  EXPECT_EQ(line(0), "\x1a") << "nothing is inserted while composing";
  // The target clause is drawn on the selection colour in the cursor row.
  display_context& dc = w->display();
  surface& screen = *dc.surfaces.screen_image;
  std::uint32_t select = pixel_value(screen.format(), dc.colours[back_select]);
  int y = 1 * (dc.metrics.height + dc.metrics.between);
  int found = 0;
  for (int x = 0; x < 4 * dc.metrics.width; ++x)
    for (int dy = 0; dy < dc.metrics.height; ++dy) found += screen.pixel_at(x, y + dy) == select;
  EXPECT_GT(found, 0);

  send_im(QString(), QString::fromUtf8("仮名"));
  EXPECT_FALSE(w->keyboard().composing);
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x1a");
  send_im(QString(), QString::fromUtf8("\u3000"));
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x81\x40\x1a") << "a committed full-width space goes in once";
  // A clause committed while the next is still being composed goes in once.
  send_im(QString::fromUtf8("う"), QString::fromUtf8("愛"));
  send_im(QString(), QString::fromUtf8("宇"));
  EXPECT_EQ(line(0), "\x89\xBC\x96\xBC\x81\x40\x88\xA4\x89\x46\x1a");
}

TEST_F(keyboard_window_test, a_cancelled_composition_leaves_the_text_alone) {
  open_with("t.txt", "ab");
  send_im(QString::fromUtf8("か"), QString());
  send_im(QString(), QString());
  EXPECT_FALSE(w->keyboard().composing);
  EXPECT_EQ(line(0), "ab\x1a");
}

}  // namespace
}  // namespace vintorel
