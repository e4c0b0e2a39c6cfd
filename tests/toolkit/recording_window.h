// A window that writes down every operation it receives, for the tests of the
// event mapping.
#pragma once
#include <QString>
#include <string>
#include <vector>

#include "toolkit/window.h"

namespace vintorel::toolkit_test {

inline std::string hex(const byte_string& bytes) {
  std::string out;
  char buffer[4];
  for (unsigned char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X", c);
    if (!out.empty()) out += ' ';
    out += buffer;
  }
  return out;
}

class recording_window : public window {
 public:
  std::vector<std::string> log;
  // Result strings inserted, as the main window inserts them: the result
  // read in on_composition when a clause is still being composed, a lone
  // full-width space on 0x800, the rest at the end.
  std::vector<byte_string> inserted;
  int create_result = 0;

  int on_create() override {
    log.push_back("create");
    return create_result;
  }
  void on_destroy() override { log.push_back("destroy"); }
  void on_command(int id, std::intptr_t parameter) override {
    log.push_back("command " + std::to_string(id) + " " + std::to_string(parameter));
  }
  void on_key_down(int key) override { log.push_back("down " + std::to_string(key)); }
  void on_key_up(int key) override { log.push_back("up " + std::to_string(key)); }
  void on_char(unsigned char byte) override { log.push_back("char " + std::to_string(byte)); }
  void on_composition_start() override { log.push_back("start"); }
  void on_composition(unsigned flags) override {
    composition_context& c = composition();
    char f[16];
    std::snprintf(f, sizeof f, "0x%X", flags);
    log.push_back(std::string("composition ") + f + " [" + hex(c.composition_string()) + "] [" +
                  hex(c.composition_attributes()) + "] " + std::to_string(c.cursor_offset()) +
                  " result [" + hex(c.result_string()) + "]");
    if ((flags & composition_all_changed) && c.result_length() > 0) {
      inserted.push_back(c.result_string());
    }
    if ((flags & composition_result_ready) && c.result_string() == "\x81\x40") {
      inserted.push_back(c.result_string());
    }
  }
  void on_composition_end() override {
    composition_context& c = composition();
    log.push_back("end result [" + hex(c.result_string()) + "]");
    if (c.result_length() > 0 && c.result_string() != "\x81\x40") inserted.push_back(c.result_string());
  }
  void on_drop_files(const dropped_files& drop) override {
    std::string line = "drop";
    for (const auto& p : drop.paths) line += " " + p;
    log.push_back(line);
  }
  void on_timer(int id) override { log.push_back("timer " + std::to_string(id)); }
  void on_move() override { ++moves; }
  int moves = 0;

  void clear() { log.clear(); }
};

}  // namespace vintorel::toolkit_test
