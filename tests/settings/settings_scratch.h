// A private directory for settings-file tests, with helpers to write and read files.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vintorel::settings_test {

class scratch {
 public:
  scratch() {
    std::string pattern = "/tmp/vintorel-settings-XXXXXX";
    if (mkdtemp(pattern.data())) dir_ = pattern + "/";
  }
  ~scratch() {
    std::error_code ignored;
    for (auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  scratch(const scratch&) = delete;
  scratch& operator=(const scratch&) = delete;

  const std::string& dir() const { return dir_; }
  std::string path(const std::string& name) const { return dir_ + name; }
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ + name, std::ios::binary | std::ios::trunc) << bytes;
    return dir_ + name;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Names in the directory, for checking that no temporary file was left behind.
  int entry_count() const {
    int n = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir_)) {
      (void)entry;
      ++n;
    }
    return n;
  }

 private:
  std::string dir_;
};

}  // namespace vintorel::settings_test
