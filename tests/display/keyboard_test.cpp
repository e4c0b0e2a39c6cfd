// Tests of the keyboard logic: key slots, the escape prefix and typed bytes.
#include "display/keyboard.h"

#include <gtest/gtest.h>

namespace vintorel {
namespace {

constexpr int vk_shift = 16, vk_control = 17, vk_escape = 27, vk_f1 = 112;

// Plays a key as the window delivers it: key down, then its typed bytes.
struct player {
  keyboard_state state;
  std::vector<int> slots;
  byte_string inserted;
  int bottom_redraws = 0;

  void take(const key_action& a) {
    if (a.slot >= 0) slots.push_back(a.slot);
    inserted += a.insert;
    if (a.redraw_bottom_line) ++bottom_redraws;
  }
  void key(int vk, const char* typed = "", bool shift = false, bool ctrl = false) {
    take(keyboard_key_down(state, vk, shift, ctrl));
    for (const char* p = typed; *p; ++p) take(keyboard_char(state, static_cast<unsigned char>(*p), shift, ctrl));
  }
};

TEST(keyboard, escape_then_letter_runs_the_escape_slot_and_shows_the_mark_in_between) {
  player p;
  p.key(vk_escape, "\x1b");
  EXPECT_TRUE(p.state.escape_pending);
  EXPECT_EQ(p.bottom_redraws, 1);
  p.take(keyboard_key_down(p.state, 'X', false, false));
  EXPECT_TRUE(p.state.escape_pending) << "a letter keeps the prefix for its character";
  p.take(keyboard_char(p.state, 'x', false, false));
  EXPECT_EQ(p.slots, std::vector<int>{47});
  EXPECT_TRUE(p.inserted.empty());
  EXPECT_FALSE(p.state.escape_pending);
  EXPECT_EQ(p.bottom_redraws, 2);
}

// Key sequences and what they leave: slots run, bytes inserted, the prefix.
TEST(keyboard, sequences) {
  struct press {
    int vk;
    const char* typed;
    bool shift, ctrl;
  };
  struct row {
    std::vector<press> keys;
    std::vector<int> slots;
    byte_string inserted;
    bool pending;
  };
  const press esc{vk_escape, "\x1b", false, false}, shift{vk_shift, "", true, false};
  const press ctrl{vk_control, "", false, true}, caps_lock{20, "", false, false};
  const std::vector<row> rows = {
      {{esc, shift, {'Q', "Q", true, false}}, {24 + 16}, "", false},  // the capital picks the same family
      {{esc, shift, {vk_escape, "\x1b", true, false}}, {91}, "", true},  // Shift+Esc keeps the prefix
      {{esc, {'X', "\x18", false, true}}, {50 + 23}, "", false},       // Ctrl+X's character clears it
      {{esc, ctrl, caps_lock}, {}, "", true},                         // modifiers keep the prefix
      {{esc, ctrl, caps_lock, {0xBA, "", false, false}}, {}, "", false},  // a key above 127 only clears it
      {{{'Z', "\x1a", true, true}}, {50 + 25}, "", false},            // Ctrl+Shift+letter: the Ctrl slot
      {{{'A', "\x01", true, true}}, {50}, "", false},
      {{{vk_f1 + 4, "", false, true}}, {4}, "", false},               // Ctrl does not matter for F keys
      {{{vk_f1 + 11, "", true, true}}, {12 + 11}, "", false},         // Shift does
      {{{'A', "A", true, false}, {0, "~", false, false}}, {}, "A~", false},
      {{{0, "\xB1", false, false}}, {}, "", false},        // half-width katakana typed directly
      {{{0, "\x82\xA0" "b", false, false}}, {}, "b", false},  // a double-byte character is dropped whole
      {{{0, "\x7f", false, false}}, {}, "", false},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    player p;
    for (const press& k : rows[i].keys) p.key(k.vk, k.typed, k.shift, k.ctrl);
    EXPECT_EQ(p.slots, rows[i].slots) << i;
    EXPECT_EQ(p.inserted, rows[i].inserted) << i;
    EXPECT_EQ(p.state.escape_pending, rows[i].pending) << i;
    EXPECT_EQ(p.state.pending_lead_byte, 0) << i;
  }
  player composing;  // letters typed while composing pick escape slots
  composing.state.composing = true;
  composing.key('K', "k");
  EXPECT_EQ(composing.slots, std::vector<int>{24 + 10});
  EXPECT_TRUE(composing.inserted.empty());
}

}  // namespace
}  // namespace vintorel
