// Reading vintorel.ini into the settings record, with its defaults and limits.
#include "settings/main_settings.h"

#include "files/file_system.h"
#include "settings/settings_file.h"

namespace vintorel {

const char* const default_binary_extension =
    ".bin.bmp.cab.chm.class.cnt.com.dic.dll.exe.fnt.gif.hlp.ico.jpeg.jpg.lib.lnk.lzh.mng.mpeg"
    ".mpg.obj.pdf.pif.png.res.vxd.wav.wma.zip";

check_fonts_function check_fonts_hook = nullptr;

namespace {

const char* const colour_keys[colour_count] = {
    "text normal", "text special",    "text search", "text keyword", "back normal",
    "back cursor", "back cursorline", "back select", "bar normal",   "bar readonly",
    "bar console"};

std::string colour_text(const settings_colour& c) {
  return std::to_string(c.red) + ":" + std::to_string(c.green) + ":" + std::to_string(c.blue);
}

std::string path_setting(const std::string& path, const char* key, std::size_t size,
                         const std::string& default_value) {
  std::string value = read_setting_string(path, "string", key, size, default_value);
  to_slashes(value);
  return value;
}

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

settings_record& global_settings() {
  static settings_record record;
  return record;
}

settings_colour parse_colour(std::string_view text) {
  settings_colour c;
  std::int32_t* parts[3] = {&c.red, &c.green, &c.blue};
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    *parts[i] = parse_decimal(text.substr(at));
    std::size_t colon = text.find(':', at);
    if (colon == std::string_view::npos) break;
    at = colon + 1;
  }
  return c;
}

namespace {

// Upper bounds a desktop can hold, so that an absurd value costs neither the
// start nor all memory: an 8K screen of 8x16 cells is 960 columns by 270 rows;
// a tab of more than 99 columns is not a tab (the style dialog's range); the
// deleted-character buffer takes 3 bytes a character up front, so a million is
// 3 MiB; the string stack and the console keep what they are given, so their
// bounds are what a user could want in them.
constexpr std::int32_t max_columns = 960;
constexpr std::int32_t max_lines = 271;
constexpr std::int32_t max_between_pixel = 16;
constexpr std::int32_t max_tab_size = 99;
constexpr std::int32_t max_buffer_delete = 1 << 20;
constexpr std::int32_t max_buffer_block = 1 << 16;
constexpr std::int32_t max_buffer_console = 1000000;

std::int32_t at_most(std::int32_t value, std::int32_t limit) { return value > limit ? limit : value; }

}  // namespace

bool load_display_settings(settings_record& s, const std::string& path) {
  s.columns = at_most(read_setting_int(path, "value", "columns", 80), max_columns);
  if (s.columns % 2 != 0) --s.columns;
  if (s.columns < 80) s.columns = 80;
  s.lines = at_most(read_setting_int(path, "value", "lines", 21), max_lines);
  if (s.lines % 2 == 0 && s.lines > 7) --s.lines;  // even values up to 6 become 7 below
  if (s.lines < 7) s.lines = 7;
  s.between_pixel = at_most(read_setting_int(path, "value", "between pixel", 3), max_between_pixel);
  if (s.between_pixel < 0) s.between_pixel = 0;
  s.tab_size = at_most(read_setting_int(path, "value", "tab size", 8), max_tab_size);
  if (s.tab_size < 1) s.tab_size = 1;
  s.buffer_delete = at_most(read_setting_int(path, "value", "buffer delete", 1024), max_buffer_delete);
  if (s.buffer_delete < 4) s.buffer_delete = 4;
  s.buffer_block = at_most(read_setting_int(path, "value", "buffer block", 256), max_buffer_block);
  if (s.buffer_block < 4) s.buffer_block = 4;
  s.buffer_console = at_most(read_setting_int(path, "value", "buffer console", 256), max_buffer_console);
  if (s.buffer_console < 1) s.buffer_console = 1;

  s.safety_directdraw = read_setting_bool(path, "switch", "safety DirectDraw", true);

  s.font_file = path_setting(path, "font file", 256, default_half_width_font);
  s.font_file_mb = path_setting(path, "font file MB", 256, default_full_width_font);
  if (check_fonts_hook && !check_fonts_hook(s)) return false;

  for (int i = 0; i < colour_count; ++i)
    s.colours[i] = parse_colour(
        read_setting_string(path, "color", colour_keys[i], 12, colour_text(default_colours[i])));
  return true;
}

void load_runtime_settings(settings_record& s, const std::string& path) {
  s.view_tab = read_setting_bool(path, "switch", "view tab", false);
  s.view_linefeed = read_setting_bool(path, "switch", "view linefeed", true);
  s.view_eof = read_setting_bool(path, "switch", "view EOF", true);
  s.view_mb_space = read_setting_bool(path, "switch", "view MB space", true);
  s.backup = read_setting_bool(path, "switch", "backup", false);
  s.ignore_case = read_setting_bool(path, "switch", "ignore case", false);
  s.word_search = read_setting_bool(path, "switch", "word search", true);
  s.detect_utf8 = read_setting_bool(path, "switch", "detect UTF8", true);

  s.filer_class = read_setting_string(path, "string", "filer class", 128, "");
  s.filer_path = path_setting(path, "filer path", 256, "");
  s.function = read_setting_string(path, "string", "function", 61, "");
  s.function_shift = read_setting_string(path, "string", "function shift", 61, "");
  s.binary_extension =
      read_setting_string(path, "string", "binary extension", 1024, default_binary_extension);
}

void fit_to_screen(settings_record& s, std::int32_t screen_width, std::int32_t screen_height) {
  if (s.font_width > 0 && static_cast<std::int64_t>(s.font_width) * s.columns > screen_width) {
    s.columns = screen_width / s.font_width;
    if (s.columns % 2 != 0) --s.columns;
  }
  if (s.font_height > 0 && static_cast<std::int64_t>(s.font_height) * s.lines > screen_height) {
    s.lines = screen_height / s.font_height;
    if (s.lines % 2 == 0) --s.lines;
    if (s.lines < 7) s.lines = 7;
  }
}

bool is_binary_extension(std::string_view name, std::string_view list) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view extension = name.substr(dot);
  if (extension.find_first_of("/\\") != std::string_view::npos) return false;
  for (std::size_t at = 0; at + extension.size() <= list.size(); ++at) {
    bool equal = true;
    for (std::size_t k = 0; k < extension.size() && equal; ++k)
      equal = fold(list[at + k]) == fold(extension[k]);
    if (!equal) continue;
    std::size_t after = at + extension.size();
    if (after == list.size() || list[after] == '.') return true;
  }
  return false;
}

bool is_main_settings_path(const std::string& saved_path, const std::string& settings_path) {
  return full_path(saved_path) == full_path(settings_path);
}

}  // namespace vintorel
