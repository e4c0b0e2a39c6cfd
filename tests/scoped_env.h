// An environment variable set (or unset) for the length of a test and restored
// afterwards, also when an assertion ends the test early.
#pragma once
#include <cstdlib>
#include <string>

namespace vintorel::test_support {

class scoped_env {
 public:
  // Only remembers the value, for a test that changes it itself.
  explicit scoped_env(const char* name) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) saved_ = old;
  }
  // Sets the variable to `value`; a null `value` unsets it.
  scoped_env(const char* name, const char* value) : scoped_env(name) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~scoped_env() {
    if (had_)
      setenv(name_, saved_.c_str(), 1);
    else
      unsetenv(name_);
  }
  scoped_env(const scoped_env&) = delete;
  scoped_env& operator=(const scoped_env&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string saved_;
};

}  // namespace vintorel::test_support
