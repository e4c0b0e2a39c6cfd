// A user who answers questions and file dialogs from a script and keeps a
// clipboard in memory, for tests of operations that ask, choose files or use
// the clipboard (and, through the toolkit's responder hook, of windows and
// dialogs that show message boxes).
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace vintorel {

class scripted_user_interface : public user_interface {
 public:
  std::deque<bool> confirm_answers;     // taken front first; empty: Cancel
  std::deque<choice> choose_answers;    // empty: cancel
  // Files chosen in the file dialog, front first; an empty entry or an empty
  // queue: Cancel.
  std::deque<byte_string> file_answers;
  // "notice 2 16", "confirm 3 28", "choose 4 21", "error 5 31", "error 5 37 /path",
  // "open /start/dir/", "save /start/dir/", "wait 2 44", in the order asked.
  std::vector<std::string> asked;
  bool has_clipboard = false;
  byte_string clipboard;
  bool clipboard_fails = false;         // the clipboard cannot be opened
  bool cancel_waits = false;            // every progress box is cancelled

  void notice(int caption, int text) override { note("notice", caption, text); }
  bool confirm(int caption, int text) override {
    note("confirm", caption, text);
    if (confirm_answers.empty()) return false;
    bool answer = confirm_answers.front();
    confirm_answers.pop_front();
    return answer;
  }
  choice choose(int caption, int text) override {
    note("choose", caption, text);
    if (choose_answers.empty()) return choice::cancel;
    choice answer = choose_answers.front();
    choose_answers.pop_front();
    return answer;
  }
  void error(int caption, int text) override { note("error", caption, text); }
  bool cancel_wait(int caption, int text) override {
    note("wait", caption, text);
    return cancel_waits;
  }
  void error_with_path(int caption, int text, const byte_string& path) override {
    note("error", caption, text);
    asked.back() += " " + path;
  }
  bool get_clipboard_text(byte_string& text) override {
    if (clipboard_fails || !has_clipboard) return false;
    text = clipboard;
    return true;
  }
  bool set_clipboard_text(const byte_string& text) override {
    if (clipboard_fails) return false;
    clipboard = text;
    has_clipboard = true;
    return true;
  }
  bool choose_file(bool save, byte_string& path) override {
    asked.push_back(std::string(save ? "save " : "open ") + path);
    if (file_answers.empty()) return false;
    byte_string answer = file_answers.front();
    file_answers.pop_front();
    if (answer.empty()) return false;
    path = answer;
    return true;
  }

 private:
  void note(const char* kind, int caption, int text) {
    asked.push_back(std::string(kind) + " " + std::to_string(caption) + " " + std::to_string(text));
  }
};

}  // namespace vintorel
