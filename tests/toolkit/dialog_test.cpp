// Tests of dialogs built from templates and of the controls attached to them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <climits>
#include <functional>

#include "toolkit/dialog.h"
#include "toolkit/edit.h"
#include "toolkit/listbox.h"
#include "toolkit/updown.h"
#include "toolkit/virtual_keys.h"

namespace vintorel {
namespace {

const dialog_template jump_like{"DIALOG_TEST", "ジャンプする行?", 60, 37, true, {
    {no_id, control_kind::static_text, 0, 26, 60, 8, "行番号"},
    {802, control_kind::edit, 0, 1, 60, 10, "", style_digits_only | style_right_aligned | style_border},
    {1, control_kind::default_button, 0, 12, 28, 13, "OK"},
    {2, control_kind::button, 32, 12, 28, 13, "Cancel"}}};

const dialog_template many_controls{"DIALOG_MANY", "いろいろ", 200, 150, true, {
    {808, control_kind::edit, 0, 0, 100, 10, "", style_lower_case | style_border},
    {809, control_kind::edit, 0, 12, 30, 10, "", style_digits_only | style_border},
    {804, control_kind::edit, 0, 24, 200, 10, "", style_border},
    {806, control_kind::edit, 0, 36, 200, 40, "", style_multi_line | style_read_only | style_vertical_scroll},
    {812, control_kind::list_box, 0, 80, 100, 50, "", style_sorted | style_border},
    {1, control_kind::default_button, 110, 130, 28, 13, "OK"},
    {2, control_kind::button, 150, 130, 28, 13, "Cancel"}}};

// A dialog that writes down what it receives and runs test code: `init` in
// on_init, `shown` once the modal loop runs.
class test_dialog : public dialog {
 public:
  std::vector<std::string> log;
  std::function<void(test_dialog&)> init;
  std::function<void(test_dialog&)> shown;
  static constexpr int shown_command = 9999;

  void on_init() override {
    log.push_back("init");
    if (init) init(*this);
    if (shown) post_command(shown_command);
  }
  void on_destroy() override { log.push_back("destroy"); }
  void on_command(int id, std::intptr_t parameter) override {
    if (id == shown_command) {
      shown(*this);
      return;
    }
    log.push_back("command " + std::to_string(id) + (parameter ? " control" : ""));
  }

  QPushButton* ok() const { return dynamic_cast<QPushButton*>(item(id_ok)); }
};

TEST(dialog, template_controls_sit_at_their_ids_in_pixels) {
  test_dialog d;
  bool checked = false;
  d.shown = [&](test_dialog& self) {
    QWidget* h = self.handle();
    EXPECT_TRUE(h->isVisible());
    EXPECT_EQ(h->windowTitle(), QString::fromUtf8("ジャンプする行?"));
    EXPECT_EQ(h->size(), QSize(120, 74));
    auto* edit = dynamic_cast<QLineEdit*>(self.item(802));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(0, 2, 120, 20));
    EXPECT_EQ(edit->alignment() & Qt::AlignRight, Qt::AlignRight);
    ASSERT_NE(self.ok(), nullptr);
    EXPECT_TRUE(self.ok()->isDefault());
    EXPECT_EQ(self.ok()->text(), "OK");
    EXPECT_EQ(self.item(id_ok)->geometry(), QRect(0, 24, 56, 26));
    EXPECT_EQ(self.item(id_cancel)->geometry(), QRect(64, 24, 56, 26));
    EXPECT_EQ(self.item(no_id), nullptr);
    EXPECT_EQ(self.item(803), nullptr);
    checked = true;
    self.end(7);
  };
  EXPECT_EQ(d.run(jump_like, nullptr, false), 7);
  EXPECT_TRUE(checked);
  EXPECT_EQ(d.log, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_EQ(d.handle(), nullptr);
}

TEST(dialog, ended_during_init_is_never_shown) {
  test_dialog d;
  d.init = [](test_dialog& self) { self.end(2); };
  EXPECT_EQ(d.run(jump_like, nullptr, false), 2);
  EXPECT_EQ(d.log, (std::vector<std::string>{"init", "destroy"}));
}

TEST(dialog, escape_and_close_ask_with_cancel_and_the_dialog_decides) {
  test_dialog d;
  d.shown = [](test_dialog& self) {
    QTest::keyClick(self.handle(), Qt::Key_Escape);
    EXPECT_TRUE(self.handle()->isVisible());  // on_command did not end it
    self.handle()->close();
    EXPECT_TRUE(self.handle()->isVisible());
    self.end(id_cancel);
  };
  EXPECT_EQ(d.run(jump_like, nullptr, false), id_cancel);
  EXPECT_EQ(d.log, (std::vector<std::string>{"init", "command 2", "command 2", "destroy"}));
}

TEST(dialog, buttons_and_enter_report_their_ids) {
  test_dialog d;
  d.shown = [](test_dialog& self) {
    QTest::mouseClick(self.item(id_cancel), Qt::LeftButton);
    self.item(802)->setFocus();
    QTest::keyClick(self.item(802), Qt::Key_Return);  // the default button
    self.ok()->setEnabled(false);
    QTest::keyClick(self.item(802), Qt::Key_Return);  // a greyed OK: nothing
    self.end(0);
  };
  d.run(jump_like, nullptr, false);
  EXPECT_EQ(d.log, (std::vector<std::string>{"init", "command 2 control", "command 1 control",
                                             "destroy"}));
}

TEST(dialog, modeless_dialog_lives_until_destroyed) {
  test_dialog d;
  EXPECT_EQ(d.run(jump_like, nullptr, true), 1);
  QPointer<QWidget> h = d.handle();
  ASSERT_TRUE(h);
  EXPECT_TRUE(h->isVisible());
  EXPECT_EQ(d.run(jump_like, nullptr, true), -1);  // one at a time
  d.destroy();
  EXPECT_EQ(d.handle(), nullptr);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(h.isNull());
  EXPECT_EQ(d.log, (std::vector<std::string>{"init", "destroy"}));
}

class modeless : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(d.run(many_controls, nullptr, true), 1); }
  void TearDown() override { d.destroy(); }
  void type(int id, const char* text) {
    auto* edit = dynamic_cast<QLineEdit*>(d.item(id));
    edit->setFocus();
    QTest::keyClicks(edit, text);
  }
  bool ok_enabled() const { return d.item(id_ok)->isEnabled(); }
  test_dialog d;
};

TEST_F(modeless, number_edits_enable_ok_in_range_and_limit_typing) {
  edit_linenumber line;
  edit_tabsize tab;
  struct row { edit* e; const char* text; bool enabled; };
  const row rows[] = {{&line, "12", true},  {&line, "0", false}, {&line, "abc", false}, {&line, "", false},
                      {&line, "0007", true}, {&line, "00", false}, {&tab, "0", false},    {&tab, "1", true},
                      {&tab, "99", true},    {&tab, "", false},    {&tab, "00", false}};
  ASSERT_TRUE(line.attach(d.handle(), 804));
  ASSERT_TRUE(tab.attach(d.handle(), 809));
  for (const row& r : rows) {
    r.e->set_text(r.text);
    EXPECT_EQ(ok_enabled(), r.enabled) << r.text;
  }
  line.set_text("");
  type(804, "123456789012");
  EXPECT_EQ(line.text(), "1234567890");  // at most 10 characters typed
  EXPECT_TRUE(ok_enabled());
  tab.set_text("");
  type(809, "1x23");  // digits only, two at most
  EXPECT_EQ(tab.text(), "12");
}

TEST_F(modeless, text_edits_enable_ok_while_not_empty) {
  edit_commandline command;
  edit_title title;
  ASSERT_TRUE(command.attach(d.handle(), 804));
  ASSERT_TRUE(title.attach(d.handle(), 808));
  command.set_text("make");
  EXPECT_TRUE(ok_enabled());
  command.set_text("");
  EXPECT_FALSE(ok_enabled());
  type(808, "TXT");
  EXPECT_EQ(title.text(), "txt");  // the title edit turns input to lower case
  EXPECT_TRUE(ok_enabled());
  title.set_text("");
  EXPECT_FALSE(ok_enabled());
  // The command line takes 255 bytes; a double-byte character counts two.
  command.set_text(std::string(254, 'a'));
  type(804, "b");
  EXPECT_EQ(command.text_length(), 255);
  type(804, "c");
  EXPECT_EQ(command.text_length(), 255);
  command.detach();
  edit_keyword keyword;
  ASSERT_TRUE(keyword.attach(d.handle(), 804));
  keyword.set_text("");
  EXPECT_FALSE(ok_enabled());
  keyword.set_text("int");
  EXPECT_TRUE(ok_enabled());
}

TEST_F(modeless, edit_sees_keys_and_characters_first) {
  struct picky_edit : edit {
    std::vector<int> keys;
    bool on_key_down(int vk) override {
      keys.push_back(vk);
      return vk == vk_return;
    }
    bool on_char(unsigned char byte) override { return byte == 'a'; }
  };
  picky_edit e;
  ASSERT_TRUE(e.attach(d.handle(), 804));
  type(804, "abca");
  QTest::keyClick(d.item(804), Qt::Key_Return);
  EXPECT_EQ(e.text(), "bc");
  EXPECT_EQ(e.keys, (std::vector<int>{'A', 'B', 'C', 'A', vk_return}));
  // Focus notifications make and remove the caret.
  QFocusEvent in(QEvent::FocusIn);
  QApplication::sendEvent(d.item(804), &in);
  EXPECT_TRUE(e.caret_shown());
  EXPECT_GT(e.caret_width(), 0);
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(d.item(804), &out);
  EXPECT_FALSE(e.caret_shown());
  e.detach();
  type(804, "a");
  EXPECT_EQ(e.text(), "");  // detached: the widget is its own again
  EXPECT_EQ(widget_text(d.item(804)), "bca");
}

TEST_F(modeless, text_helpers_work_on_shift_jis_bytes) {
  edit e;
  ASSERT_TRUE(e.attach(d.handle(), 804));
  e.set_text("ab\x82\xA0");
  char buffer[8];
  EXPECT_EQ(e.get_text(buffer, 4), 2u);  // never half a double-byte character
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(e.get_text(buffer, sizeof buffer), 4u);
  EXPECT_EQ(e.text_length(), 4);
  for (auto [text, number] :
       {std::pair{"  42abc", 42}, std::pair{"12345678901", 1234567890}, std::pair{"-5", -5},
        std::pair{"9999999999", INT_MAX}, std::pair{"x1", 0}, std::pair{"", 0}}) {
    e.set_text(text);
    EXPECT_EQ(e.get_number(), number) << text;
  }
  // A multi-line edit's text has CR LF line ends, both ways.
  edit help;
  ASSERT_TRUE(help.attach(d.handle(), 806));
  help.set_text("one\r\ntwo\r\n");
  EXPECT_EQ(dynamic_cast<QPlainTextEdit*>(d.item(806))->toPlainText(), "one\ntwo\n");
  EXPECT_EQ(help.text(), "one\r\ntwo\r\n");
  // A read-only edit has the button-face background.
  EXPECT_EQ(d.item(806)->palette().color(QPalette::Base), d.handle()->palette().color(QPalette::Button));
}

TEST_F(modeless, attach_to_a_missing_item_leaves_a_harmless_object) {
  edit e;
  EXPECT_FALSE(e.attach(d.handle(), 4242));
  EXPECT_EQ(e.handle(), nullptr);
  e.set_text("x");
  e.enable();
  e.limit_text(3);
  char buffer[4] = "zz";
  EXPECT_EQ(e.get_text(buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(e.text_length(), 0);
  // An item with an object already is not taken twice.
  edit first, second;
  EXPECT_TRUE(first.attach(d.handle(), 804));
  EXPECT_FALSE(second.attach(d.handle(), 804));
}

TEST_F(modeless, list_box_items_with_icons_sorting_and_selection) {
  struct counting_list : listbox {
    int changes = 0;
    void on_select_change() override { ++changes; }
  };
  counting_list l;
  ASSERT_TRUE(l.attach(d.handle(), 812));
  l.images = {QIcon(), QIcon()};
  l.add("zeta");
  l.add("Beta");
  l.add("alpha");
  l.add("beta");
  EXPECT_EQ(l.count(), 4);
  EXPECT_EQ(l.text_at(0), "alpha");
  EXPECT_EQ(l.text_at(1), "Beta");
  EXPECT_EQ(l.text_at(2), "beta");  // equal without case: after the earlier one
  EXPECT_EQ(l.text_at(3), "zeta");
  EXPECT_EQ(l.find("beta"), 2);
  EXPECT_EQ(l.find("BETA"), -1);  // find is exact
  EXPECT_EQ(l.find("gamma"), -1);
  EXPECT_EQ(l.text_at(9), "");

  EXPECT_EQ(l.selection(), -1);
  l.select(1);
  EXPECT_EQ(l.selection(), 1);
  EXPECT_EQ(l.changes, 0);  // the program's own changes notify nothing
  dynamic_cast<QListWidget*>(d.item(812))->setCurrentRow(3);  // as a click would
  EXPECT_EQ(l.changes, 1);
  l.remove(3);
  EXPECT_EQ(l.selection(), -1);
  EXPECT_EQ(l.count(), 3);

  // An empty keyword is an item like any other.
  l.add("");
  EXPECT_EQ(l.find(""), 0);
}

TEST(listbox_storage, icon_prefix_and_alternate_colour) {
  std::string_view text;
  EXPECT_EQ(listbox::split_icon_prefix(":12:name", text), 12);
  EXPECT_EQ(text, "name");
  EXPECT_EQ(listbox::split_icon_prefix(":0:", text), 0);
  EXPECT_EQ(text, "");
  for (const char* plain : {"name", ":x:name", "::name", ":12name", ":"}) {
    EXPECT_EQ(listbox::split_icon_prefix(plain, text), -1) << plain;
    EXPECT_EQ(text, plain);
  }
  EXPECT_EQ(listbox::alternate_of(QColor(0, 127, 128)), QColor(32, 159, 96));
  EXPECT_EQ(listbox::alternate_of(QColor(255, 255, 255)), QColor(223, 223, 223));
}

TEST(dialog, jump_dialog_up_down_steps_within_its_range) {
  test_dialog d;
  d.run(jump_like, nullptr, true);
  edit_linenumber line;
  button ok;
  updown arrows;
  ASSERT_TRUE(line.attach(d.handle(), 802));
  ASSERT_TRUE(ok.attach(d.handle(), id_ok));
  // Line 12 of a 40-line text.
  ASSERT_TRUE(arrows.create(0, 0, 0, 0, d.handle(), 803, line, 40, 1, 12));
  ok.disable();
  EXPECT_EQ(line.text(), "12");
  EXPECT_FALSE(ok.handle()->isEnabled());
  EXPECT_EQ(d.item(803), arrows.handle());
  // Beside the edit, which gave up the room.
  EXPECT_EQ(arrows.handle()->geometry().right(), 119);
  EXPECT_LT(line.handle()->geometry().right(), arrows.handle()->geometry().left());

  QTest::keyClick(line.handle(), Qt::Key_Up);
  EXPECT_EQ(line.text(), "13");
  EXPECT_TRUE(ok.handle()->isEnabled());
  arrows.set_position(100);
  EXPECT_EQ(arrows.position(), 40);
  QTest::keyClick(line.handle(), Qt::Key_Up);
  EXPECT_EQ(line.text(), "40");
  arrows.set_position(1);
  QTest::keyClick(line.handle(), Qt::Key_Down);
  EXPECT_EQ(line.text(), "1");
  // The buddy's own number counts.
  line.set_text("25");
  EXPECT_EQ(arrows.position(), 25);
  arrows.step(1);
  EXPECT_EQ(line.text(), "26");
  line.set_text("0");
  EXPECT_FALSE(ok.handle()->isEnabled());
  EXPECT_EQ(arrows.position(), 1);
  d.destroy();
}

}  // namespace
}  // namespace vintorel
