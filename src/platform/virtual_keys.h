// Key codes as the keyboard handlers receive them: the Windows virtual-key
// numbers. Plain constants, so the keyboard logic can be tested without Qt.
#pragma once

namespace vintorel {

constexpr int vk_back = 8;
constexpr int vk_tab = 9;
constexpr int vk_clear = 12;
constexpr int vk_return = 13;
constexpr int vk_shift = 16;
constexpr int vk_control = 17;
constexpr int vk_menu = 18;  // Alt
constexpr int vk_pause = 19;
constexpr int vk_capital = 20;  // Caps Lock
constexpr int vk_kana = 21;
constexpr int vk_kanji = 25;  // half-width/full-width
constexpr int vk_escape = 27;
constexpr int vk_convert = 28;
constexpr int vk_nonconvert = 29;
constexpr int vk_space = 32;
constexpr int vk_prior = 33;  // Page Up
constexpr int vk_next = 34;   // Page Down
constexpr int vk_end = 35;
constexpr int vk_home = 36;
constexpr int vk_left = 37;
constexpr int vk_up = 38;
constexpr int vk_right = 39;
constexpr int vk_down = 40;
constexpr int vk_snapshot = 44;
constexpr int vk_insert = 45;
constexpr int vk_delete = 46;
constexpr int vk_0 = 48;  // '0' ... '9' are 48 ... 57
constexpr int vk_a = 65;  // 'A' ... 'Z' are 65 ... 90
constexpr int vk_z = 90;
constexpr int vk_lwin = 91;
constexpr int vk_apps = 93;
constexpr int vk_numpad0 = 96;  // ... vk_numpad9 = 105
constexpr int vk_multiply = 106;
constexpr int vk_add = 107;
constexpr int vk_subtract = 109;
constexpr int vk_decimal = 110;
constexpr int vk_divide = 111;
constexpr int vk_f1 = 112;  // ... vk_f24 = 135
constexpr int vk_f10 = 121;
constexpr int vk_f12 = 123;
constexpr int vk_numlock = 144;
constexpr int vk_scroll = 145;
// Punctuation keys, named after the US layout.
constexpr int vk_oem_1 = 0xBA;       // ; :
constexpr int vk_oem_plus = 0xBB;    // = +
constexpr int vk_oem_comma = 0xBC;   // , <
constexpr int vk_oem_minus = 0xBD;   // - _
constexpr int vk_oem_period = 0xBE;  // . >
constexpr int vk_oem_2 = 0xBF;       // / ?
constexpr int vk_oem_3 = 0xC0;       // ` ~
constexpr int vk_oem_4 = 0xDB;       // [ {
constexpr int vk_oem_5 = 0xDC;       // \ |
constexpr int vk_oem_6 = 0xDD;       // ] }
constexpr int vk_oem_7 = 0xDE;       // ' "
constexpr int vk_oem_102 = 0xE2;     // the extra key of Japanese layouts (\ _)
// A key with no code of its own.
constexpr int vk_unknown = 0xFF;

}  // namespace vintorel
