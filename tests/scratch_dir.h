// A private temporary directory for a test, removed with all it holds when the
// test ends, and small helpers to write and read whole files.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vintorel::test_support {

inline bool write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// The whole file; empty when it cannot be read.
inline std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class scratch_dir {
 public:
  // Under $TMPDIR, else /tmp; mode 0700. dir() is empty when it cannot be made.
  scratch_dir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vintorel-test-XXXXXX";
    if (mkdtemp(pattern.data())) dir_ = pattern + "/";
  }
  ~scratch_dir() {
    if (dir_.empty()) return;
    namespace fs = std::filesystem;
    std::error_code error;
    // Entries a test made read-only must not keep the directory alive. Each
    // directory is opened up before the walk descends into it; links are not
    // followed out of the scratch directory.
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, error);
    for (fs::recursive_directory_iterator it(dir_, error), end; !error && it != end;
         it.increment(error)) {
      std::error_code ignored;
      if (!it->is_symlink(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(dir_, error);
  }
  scratch_dir(const scratch_dir&) = delete;
  scratch_dir& operator=(const scratch_dir&) = delete;

  // The directory, ending in "/".
  const std::string& dir() const { return dir_; }
  // The path of `name` in the directory; `dir / name` says the same.
  std::string path(const std::string& name) const { return dir_ + name; }
  std::string operator/(const std::string& name) const { return dir_ + name; }

  // Writes `bytes` to `name` (replacing it) and gives its path.
  std::string write(const std::string& name, const std::string& bytes) const {
    write_bytes(dir_ + name, bytes);
    return dir_ + name;
  }
  std::string read(const std::string& name) const { return read_bytes(dir_ + name); }

  // Names in the directory, for checking that no temporary file was left behind.
  int entry_count() const {
    int n = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir_, error), end; !error && it != end;
         it.increment(error))
      ++n;
    return n;
  }

 private:
  std::string dir_;
};

}  // namespace vintorel::test_support
