// The extension-style, keyword and program dialogs driven through the real
// main window from their menu ids, with the bytes of ext.ini and program.ini
// checked afterwards, and the help window they open.
#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <filesystem>
#include <sys/stat.h>

#include "app/dialog_extension.h"
#include "app/dialog_program.h"
#include "files/manual_excerpt.h"
#include "main_window_fixture.h"
#include "toolkit/dialog_template.h"
#include "toolkit/qt_text.h"

namespace vintorel {
namespace {

using test_support::read_bytes;
using window_test::main_window_test;

constexpr int id_help = 9;
constexpr int id_title = 808;
constexpr int id_tab_size = 809;
constexpr int id_auto_indent = 811;
constexpr int id_keywords = 812;
constexpr int id_add = 813;
constexpr int id_remove = 814;
constexpr int id_delete = 815;
constexpr int id_command = 804;
constexpr int id_confirm = 816;
constexpr int id_keyword = 807;

class settings_dialogs_test : public main_window_test {
 protected:
  std::string ext, programs;
  void SetUp() override {
    main_window_test::SetUp();
    ext = files.path("ext.ini");
    programs = files.path("program.ini");
  }
  // The window with nothing open; the file dialog it asks for at once is
  // cancelled and forgotten.
  void open_window() {
    start();
    answers.asked.clear();
  }
  // Runs `act` on the modal dialog that opens next; `opened` tells whether one did.
  void on_dialog(std::function<void(QWidget*)> act, bool* opened = nullptr) {
    if (opened) *opened = false;
    QTimer::singleShot(0, [act, opened] {
      QWidget* box = QApplication::activeModalWidget();
      if (opened) *opened = box != nullptr;
      if (box) act(box);
    });
  }
  static QLineEdit* edit(QWidget* box, int id) { return qobject_cast<QLineEdit*>(dialog_item(box, id)); }
  static QAbstractButton* button(QWidget* box, int id) { return qobject_cast<QAbstractButton*>(dialog_item(box, id)); }
  static QListWidget* list(QWidget* box) { return qobject_cast<QListWidget*>(dialog_item(box, id_keywords)); }
  static void set(QWidget* box, int id, const char* utf8) { edit(box, id)->setText(QString::fromUtf8(utf8)); }
  static void click(QWidget* box, int id) { button(box, id)->click(); }
  // Sets the title, presses OK and tells whether the dialog stayed open.
  static bool ok_with_title(QWidget* box, const char* title) {
    set(box, id_title, title);
    click(box, id_ok);
    return box->isVisible();
  }
  std::string menu_text(command_id id) {
    QAction* a = w->menus().item(id);
    return a ? to_sjis(a->text()) : "(none)";
  }
  static std::vector<QWidget*> help_windows() {
    std::vector<QWidget*> out;
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->objectName() == "DIALOG_HELP" && t->isVisible()) out.push_back(t);
    return out;
  }
};

TEST_F(settings_dialogs_test, renaming_a_style_checks_the_title_and_moves_the_section_and_its_entry) {
  files.write("ext.ini", "[a]\ntab size=4\nauto indent=+\nkeyword=if,,else\n[m]\ntab size=2\n");
  open_window();
  ASSERT_EQ(menu_text(command_id::first_style_entry), "a");
  bool opened = false;
  on_dialog(
      [&](QWidget* box) {
        EXPECT_EQ(edit(box, id_tab_size)->text(), "4");
        EXPECT_TRUE(button(box, id_auto_indent)->isChecked());
        // The empty keyword between two commas is listed, sorted first.
        ASSERT_EQ(list(box)->count(), 3);
        EXPECT_EQ(list(box)->item(0)->text(), "");
        EXPECT_TRUE(ok_with_title(box, " a"));
        EXPECT_TRUE(ok_with_title(box, "a]"));
        EXPECT_TRUE(ok_with_title(box, "m"));
        EXPECT_FALSE(ok_with_title(box, "z"));
      },
      &opened);
  command(to_int(command_id::first_style_entry));
  ASSERT_TRUE(opened);
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"notice 2 13", "notice 2 13", "notice 2 12"}));
  EXPECT_EQ(read_bytes(ext), "[m]\ntab size=2\n[z]\ntab size=4\nauto indent=+\nkeyword=,else,if\n");
  EXPECT_EQ(menu_text(command_id::first_style_entry), "m");
  EXPECT_EQ(menu_text(entry_id(command_id::first_style_entry, 1)), "z");

  // Its own title is allowed; a new style with a blank inside too, and typed
  // capitals become small letters.
  answers.asked.clear();
  on_dialog([&](QWidget* box) { EXPECT_FALSE(ok_with_title(box, "z")); });
  command(to_int(entry_id(command_id::first_style_entry, 1)));
  on_dialog([&](QWidget* box) {
    EXPECT_EQ(edit(box, id_tab_size)->text(), "8");
    EXPECT_FALSE(button(box, id_ok)->isEnabled());
    EXPECT_EQ(dialog_item(box, id_delete), nullptr);
    EXPECT_FALSE(list(box)->isEnabled());
    QTest::keyClicks(edit(box, id_title), "C CPP");
    EXPECT_EQ(edit(box, id_title)->text(), "c cpp");
    EXPECT_TRUE(button(box, id_ok)->isEnabled());
    click(box, id_ok);
  });
  command(to_int(command_id::new_style));
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_EQ(read_bytes(ext),
            "[c cpp]\ntab size=8\nauto indent=-\nkeyword=\n[m]\ntab size=2\n[z]\ntab size=4\nauto indent=+\n"
            "keyword=,else,if\n");
  EXPECT_EQ(w->menus().style_entry_count(), 3);
}

TEST_F(settings_dialogs_test, keywords_are_added_checked_and_removed_and_a_failed_write_keeps_the_dialog) {
  const std::string before = "[a]\ntab size=3\nkeyword=if\n";
  files.write("ext.ini", before);
  open_window();
  on_dialog([&](QWidget* box) {
    auto add = [&](std::vector<const char*> tries) {
      on_dialog([tries](QWidget* k) {
        EXPECT_FALSE(button(k, id_ok)->isEnabled());
        for (const char* t : tries) {
          set(k, id_keyword, t);
          click(k, id_ok);
        }
      });
      click(box, id_add);
    };
    add({"a,b", "if"});  // a comma is refused in the keyword dialog, "if" in the list
    add({"else"});
    ASSERT_EQ(list(box)->count(), 2);
    EXPECT_EQ(list(box)->currentRow(), 0);
    click(box, id_remove);
    EXPECT_EQ(list(box)->item(list(box)->currentRow())->text(), "if");
    click(box, id_remove);
    EXPECT_FALSE(list(box)->isEnabled());
    EXPECT_FALSE(button(box, id_remove)->isEnabled());

    ASSERT_EQ(chmod(ext.c_str(), 0444), 0);
    EXPECT_TRUE(ok_with_title(box, "b"));
    ASSERT_EQ(chmod(ext.c_str(), 0644), 0);
    click(box, id_cancel);
  });
  command(to_int(command_id::first_style_entry));
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"notice 2 14", "notice 2 12", "error 5 31"}));
  EXPECT_EQ(read_bytes(ext), before);
  EXPECT_EQ(menu_text(command_id::first_style_entry), "a");
}

TEST_F(settings_dialogs_test, the_hundredth_style_or_program_is_refused_and_delete_asks_first) {
  std::string many;
  for (int i = 0; i < 99; ++i) many += "[s" + std::to_string(100 + i) + "]\n";
  files.write("ext.ini", many);
  files.write("program.ini", many);
  open_window();
  bool opened = true;
  on_dialog([](QWidget* box) { button(box, id_cancel)->click(); }, &opened);
  command(to_int(command_id::new_style));
  EXPECT_FALSE(opened);
  command(to_int(command_id::new_program));
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"notice 2 11", "notice 2 11"}));
  QApplication::processEvents();

  // Deleting asks; Cancel keeps the style, OK removes it and its entry.
  answers.asked.clear();
  answers.confirm_answers = {false, true};
  on_dialog([](QWidget* box) {
    click(box, id_delete);
    EXPECT_TRUE(box->isVisible());
    click(box, id_delete);
  });
  command(to_int(command_id::first_style_entry));
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"confirm 3 23", "confirm 3 23"}));
  EXPECT_EQ(read_bytes(ext), many.substr(7));
  EXPECT_EQ(w->menus().style_entry_count(), 98);
  EXPECT_EQ(menu_text(command_id::first_style_entry), "s101");
}

TEST_F(settings_dialogs_test, program_entries_are_created_renamed_and_deleted_with_both_menus_following) {
  files.write("program.ini", "[&Grep]\nprogram=grep -n ??? *.c\nconfirm=+\n[&Make]\nprogram=imake\nconfirm=+\n");
  open_window();
  on_dialog([](QWidget* box) {
    EXPECT_EQ(edit(box, id_command)->text(), "grep -n ??? *.c");
    EXPECT_TRUE(button(box, id_confirm)->isChecked());
    EXPECT_TRUE(ok_with_title(box, "&Make"));
    click(box, id_confirm);
    EXPECT_FALSE(ok_with_title(box, "&Zip"));
  });
  command(to_int(command_id::first_program_edit));
  EXPECT_EQ(read_bytes(programs), "[&Make]\nprogram=imake\nconfirm=+\n[&Zip]\nprogram=grep -n ??? *.c\nconfirm=-\n");
  EXPECT_EQ(menu_text(command_id::first_program_entry), "&Make");
  EXPECT_EQ(menu_text(entry_id(command_id::first_program_entry, 1)), "&Zip");
  EXPECT_EQ(menu_text(entry_id(command_id::first_program_edit, 1)), "&Zip");

  on_dialog([](QWidget* box) {
    EXPECT_TRUE(button(box, id_confirm)->isChecked());
    EXPECT_EQ(dialog_item(box, id_delete), nullptr);
    set(box, id_title, "&Abc");
    // OK needs a command line as well as a title.
    EXPECT_FALSE(button(box, id_ok)->isEnabled());
    set(box, id_command, "ls");
    EXPECT_TRUE(ok_with_title(box, "&Abc "));
    EXPECT_FALSE(ok_with_title(box, "&Abc"));
  });
  command(to_int(command_id::new_program));
  EXPECT_EQ(menu_text(command_id::first_program_entry), "&Abc");
  EXPECT_EQ(w->menus().program_entry_count(), 3);

  // Deleting every entry takes the separators with it.
  for (int i = 0; i < 3; ++i) {
    answers.confirm_answers = {true};
    on_dialog([](QWidget* box) { click(box, id_delete); });
    command(to_int(command_id::first_program_edit));
  }
  EXPECT_EQ(read_bytes(programs), "");
  EXPECT_EQ(w->menus().program_entry_count(), 0);
  EXPECT_EQ(w->menus().top(program_menu_position)->actions().size(), 1);
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"notice 2 12", "notice 2 13", "confirm 3 23", "confirm 3 23",
                                      "confirm 3 23"}));
}

TEST_F(settings_dialogs_test, help_opens_once_per_dialog_with_the_manual_excerpt_and_closes_safely) {
  std::filesystem::copy_file(std::string(VINTOREL_BINARY_DIR) + "/vintorel.txt", files.path("vintorel.txt"));
  files.write("program.ini", "[&Make]\nprogram=imake\n");
  open_window();
  const struct {
    command_id id;
    int first, count;
  } cases[] = {{command_id::new_style, 319, 31}, {command_id::first_program_edit, 351, 35}};
  for (const auto& c : cases) {
    QString expected = to_qstring(read_manual_excerpt(files.path("vintorel.txt"), c.first, c.count));
    expected.replace("\r\n", "\n");
    ASSERT_FALSE(expected.isEmpty());
    on_dialog([&](QWidget* box) {
      auto* d = dynamic_cast<dialog*>(object_of(box));
      auto help_of = [d] {
        if (auto* e = dynamic_cast<dialog_extension*>(d)) return e->help();
        return dynamic_cast<dialog_program*>(d)->help();
      };
      click(box, id_help);
      click(box, id_help);
      QTest::qWait(30);
      std::vector<QWidget*> shown = help_windows();
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_TRUE(box->isVisible());
      auto* text = shown[0]->findChild<QPlainTextEdit*>();
      ASSERT_NE(text, nullptr);
      EXPECT_EQ(text->toPlainText(), expected);
      // The user closes it; the dialog's timer takes it away and Help opens anew.
      qobject_cast<QAbstractButton*>(dialog_item(shown[0], 8))->click();
      QTest::qWait(50);
      EXPECT_EQ(help_of(), nullptr);
      EXPECT_TRUE(help_windows().empty());
      click(box, id_help);
      QTest::qWait(20);
      EXPECT_NE(help_of(), nullptr);
      // Leaving the dialog with its help still open takes the help along.
      click(box, id_cancel);
    });
    command(to_int(c.id));
    QTest::qWait(20);
    EXPECT_TRUE(help_windows().empty());
  }
}

TEST_F(settings_dialogs_test, a_changed_style_redraws_the_open_text_at_once_as_a_fresh_open_would) {
  std::string t = files.write("t.c", "\tif x\r\nelse\r\n");
  files.write("ext.ini", "[h]\n");
  start(files_to_open({t}));
  const surface& screen = *w->display().surfaces.screen_image;
  auto image = [&] {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < screen.height(); ++y)
      for (int x = 0; x < screen.width(); ++x) pixels.push_back(screen.pixel_at(x, y));
    return pixels;
  };
  std::vector<std::uint32_t> before = image();
  command(to_int(command_id::forward_char));
  ASSERT_EQ(current().column, 8);
  on_dialog([this](QWidget* box) {
    set(box, id_title, "c");
    set(box, id_tab_size, "4");
    on_dialog([](QWidget* k) {
      set(k, id_keyword, "if");
      click(k, id_ok);
    });
    click(box, id_add);
    click(box, id_ok);
  });
  command(to_int(command_id::new_style));
  EXPECT_EQ(w->work().style(0).tab_size, 4);
  // The cursor stays after the tab, which now ends at column 4.
  EXPECT_EQ(current().position, 1);
  EXPECT_EQ(current().column, 4);
  command(to_int(command_id::backward_char));
  std::vector<std::uint32_t> changed = image();
  EXPECT_FALSE(changed == before);
  w->close_and_reopen(close_mode::discard);
  settle();
  ASSERT_EQ(current().column, 0);
  EXPECT_TRUE(changed == image());
}

}  // namespace
}  // namespace vintorel
