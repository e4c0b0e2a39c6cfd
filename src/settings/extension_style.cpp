// Loading, testing, writing and deleting the extension styles of ext.ini.
#include "settings/extension_style.h"

#include "platform/profile.h"
#include "settings/settings_file.h"
#include "settings/settings_section.h"

namespace vintorel {

void load_pane_style(pane_style& style, std::string_view name, const std::string& ext_ini,
                     std::int32_t main_tab_size) {
  style.tab_size = main_tab_size;
  style.auto_indent = 0;
  style.keywords.assign(2, '\0');
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return;
  std::string_view extension = name.substr(dot + 1);

  for (const std::string& title : section_names(ext_ini)) {
    std::string_view rest = title;
    bool match = false;
    while (!match) {
      std::size_t slash = rest.find('/');
      // Extensions are compared like the profile functions compare names.
      match = profile_names_equal(rest.substr(0, slash), extension);
      if (slash == std::string_view::npos) break;
      rest.remove_prefix(slash + 1);
    }
    if (!match) continue;

    std::int32_t tab = read_setting_int(ext_ini, title, "tab size", 2);
    // A hand-edited width outside the dialog's range would stall or overflow the
    // column arithmetic.
    style.tab_size = tab < 1 ? 1 : tab > 99 ? 99 : tab;
    style.auto_indent = read_setting_bool(ext_ini, title, "auto indent", false) ? 1 : 0;
    std::string keywords =
        read_setting_string(ext_ini, title, "keyword", keyword_value_limit + 1, "");
    for (char& c : keywords)
      if (c == ',') c = '\0';
    keywords.push_back('\0');  // end of the last keyword
    keywords.push_back('\0');  // the empty string that ends the list
    style.keywords = std::move(keywords);
    return;
  }
}

bool style_exists(const std::string& ext_ini, std::string_view title) {
  return section_exists(ext_ini, title);
}

bool read_style_title(const std::string& ext_ini, int i, std::string& title) {
  return section_name(ext_ini, i, title, 256);
}

std::vector<std::string> style_menu_titles(const std::string& ext_ini) {
  return section_names(ext_ini, 128);
}

bool write_style(const std::string& ext_ini, std::string_view title, std::int32_t tab_size,
                 bool auto_indent, std::string_view keywords) {
  // Keywords the settings file would refuse are refused before anything is
  // written, so a style is never left half changed.
  if (keywords.find_first_of("\r\n") != std::string_view::npos) return false;
  return write_setting_int(ext_ini, title, "tab size", tab_size, true) &&
         write_setting_bool(ext_ini, title, "auto indent", auto_indent, false) &&
         write_setting_string(ext_ini, title, "keyword", keywords, false);
}

bool replace_style(const std::string& ext_ini, std::string_view old_title, std::string_view title,
                   std::int32_t tab_size, bool auto_indent, std::string_view keywords) {
  return replace_section_ordered(ext_ini, old_title, title,
                                 {{"tab size", std::to_string(tab_size)},
                                  {"auto indent", auto_indent ? "+" : "-"},
                                  {"keyword", std::string(keywords)}});
}

bool delete_style(const std::string& ext_ini, std::string_view title) {
  return delete_setting_section(ext_ini, title);
}

std::vector<std::string> split_keywords(std::string_view value) {
  std::vector<std::string> pieces;
  while (!value.empty()) {
    std::size_t comma = value.find(',');
    pieces.emplace_back(value.substr(0, comma));
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return pieces;
}

std::string join_keywords(const std::vector<std::string>& pieces) {
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    std::size_t extra = pieces[i].size() + (i > 0 ? 1 : 0);
    if (joined.size() + extra > keyword_value_limit) break;
    if (i > 0) joined += ',';
    joined += pieces[i];
  }
  return joined;
}

}  // namespace vintorel
