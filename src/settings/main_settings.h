// The main settings record read from vintorel.ini: the display group (read once at
// start-up) and the run-time group (read again whenever the user saves the file).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vintorel {

// One colour of the display palette: red, green, blue, stored as written (no range check).
struct settings_colour {
  std::int32_t red = 0;
  std::int32_t green = 0;
  std::int32_t blue = 0;
};

constexpr int colour_count = 11;
// Palette entries, in the order of the "color" section.
enum colour_index : int {
  text_normal = 0, text_special, text_search, text_keyword,
  back_normal, back_cursor, back_cursorline, back_select,
  bar_normal, bar_readonly, bar_console
};

extern const char* const default_binary_extension;

// The built-in fonts and colours, for a missing settings file and for the
// display before the settings are read.
inline constexpr const char* default_half_width_font = "mswhn16x.fnt";
inline constexpr const char* default_full_width_font = "mswzn16x.fnt";
inline constexpr std::array<settings_colour, colour_count> default_colours = {{{255, 255, 255}, {0, 255, 255},
                                                                               {0, 255, 0},     {255, 255, 0},
                                                                               {0, 0, 0},       {96, 96, 96},
                                                                               {64, 64, 64},    {0, 0, 128},
                                                                               {255, 255, 255}, {0, 255, 0},
                                                                               {255, 255, 0}}};

struct settings_record {
  // Display group: section "value", the safe-mode switch, the fonts and the colours.
  std::int32_t columns = 80;
  std::int32_t lines = 21;
  std::int32_t between_pixel = 3;
  std::int32_t tab_size = 8;
  std::int32_t buffer_delete = 1024;
  std::int32_t buffer_block = 256;
  std::int32_t buffer_console = 256;
  bool safety_directdraw = true;
  std::string font_file = default_half_width_font;  // "/" separators
  std::string font_file_mb = default_full_width_font;
  std::array<settings_colour, colour_count> colours = default_colours;
  // Cell size of the single-byte font, set by the font check (0 until then).
  std::int32_t font_width = 0;
  std::int32_t font_height = 0;

  // Run-time group: switches and strings.
  bool view_tab = false;
  bool view_linefeed = true;
  bool view_eof = true;
  bool view_mb_space = true;
  bool backup = false;
  bool ignore_case = false;
  bool word_search = true;
  // Files whose character set the classic rules leave open are opened as UTF-8
  // or EUC-JP when their bytes say so; off gives the classic detection alone.
  bool detect_utf8 = true;
  std::string filer_class;       // at most 127 bytes
  std::string filer_path;        // at most 255 bytes, "/" separators
  std::string function;          // bottom line labels, at most 60 bytes
  std::string function_shift;
  std::string binary_extension = default_binary_extension;  // at most 1023 bytes
};

// The process-wide record.
settings_record& global_settings();

// The font check of the display code: reads the record's font files, makes missing
// ones, sets font_width and font_height and fits columns and lines to the screen
// (fit_to_screen); it shows its own message and returns false when the fonts are
// unusable. Until the display code installs it, no check is made.
using check_fonts_function = bool (*)(settings_record& settings);
extern check_fonts_function check_fonts_hook;

// Section "value", the switch "safety DirectDraw", the font files, the font check and
// then the colours, with their limits. False when the font check fails (the colours
// are then not read).
bool load_display_settings(settings_record& settings, const std::string& path);
// The switches and strings of the run-time group (the key bindings are loaded by the
// application shell right after).
void load_runtime_settings(settings_record& settings, const std::string& path);

// Lowers columns and lines so that the window fits a screen of the given size in
// pixels with the record's font cell size (columns even, lines odd and at least 7).
void fit_to_screen(settings_record& settings, std::int32_t screen_width, std::int32_t screen_height);

// "r:g:b" with missing parts 0, at most three parts.
settings_colour parse_colour(std::string_view text);

// Whether the file name's extension (from its last ".", when no "/" or "\" follows)
// occurs in `list` (extensions with their dots, run together), compared without
// regard to letter case, followed there by "." or the end of the list.
bool is_binary_extension(std::string_view name, std::string_view list);

// Whether a saved file is the main settings file (full paths compared; this file
// system's names are case-sensitive), so the run-time group must be read again.
bool is_main_settings_path(const std::string& saved_path, const std::string& settings_path);

}  // namespace vintorel
