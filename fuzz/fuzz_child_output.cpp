// Fuzzes the cutting of child output into console runs: reads cut at any
// points give the same text as one read, no run holds CR, NUL or LF, and no
// run ends in a lead byte whose second byte is in the next run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exec/output_lines.h"
#include "platform/cp932.h"

using namespace vintorel;

namespace {

class checked : public output_events {
 public:
  std::string shown;
  void text(const char* run) override {
    std::string r(run);
    if (r.empty() || r.find('\n') != std::string::npos) std::abort();
    std::size_t i = 0;
    while (i < r.size()) {
      unsigned char c = static_cast<unsigned char>(r[i]);
      if (is_lead_byte(c)) {
        if (i + 1 == r.size()) std::abort();  // a character split between runs
        i += 2;
        continue;
      }
      if (c == '\r') std::abort();
      ++i;
    }
    shown += r;
  }
  void line_feed() override { shown += '\n'; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte chooses the read size.
  std::size_t piece = data[0] % 17 + 1;
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  std::size_t n = size - 1;

  checked whole;
  output_lines one;
  one.feed(bytes, n, whole);
  one.finish();

  checked parts;
  output_lines lines;
  for (std::size_t at = 0; at < n; at += piece) lines.feed(bytes + at, at + piece > n ? n - at : piece, parts);
  lines.finish();
  if (parts.shown != whole.shown) std::abort();
  return 0;
}
