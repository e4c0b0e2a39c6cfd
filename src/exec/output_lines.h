// The child's output turned into console insertions: CR and NUL bytes removed
// (a double-byte character is stepped over whole, so its second byte is never
// taken for one; a lead byte before CR, LF or NUL starts no character and is
// dropped), the rest cut at each LF into text runs and line feeds. A
// lead byte at the end of one read waits for the next, so a double-byte
// character is never split between two insertions.
#pragma once
#include <cstddef>
#include <string>

namespace vintorel {

// Where the runs go: `text` gets a non-empty run without LF (zero-terminated),
// `line_feed` follows each LF.
class output_events {
 public:
  virtual ~output_events() = default;
  virtual void text(const char* run) = 0;
  virtual void line_feed() = 0;
};

// Removes CR and NUL bytes from data[0, size) in place, stepping over
// double-byte characters; returns the new size. `ends_in_lead` tells whether
// the last byte kept is a lead byte whose second byte is missing.
std::size_t clean_output(char* data, std::size_t size, bool& ends_in_lead);

class output_lines {
 public:
  // One read of output, in any size.
  void feed(const char* data, std::size_t size, output_events& events);
  // The end of the output: a lead byte still waiting is dropped.
  void finish() { pending_.clear(); }

 private:
  std::string pending_;  // a lead byte carried over from the last read
  std::string work_;
};

}  // namespace vintorel
