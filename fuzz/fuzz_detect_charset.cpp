// Fuzzes character-set detection over arbitrary file bytes: the memory scan must
// match the detector's rules taken one byte at a time, and the file scan must match
// the memory scan.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/charset.h"

using namespace vintorel;

namespace {

// The rules written out plainly, without the detector's run skipping.
void reference(const std::uint8_t* data, std::size_t size, int& charset_code, int& linefeed_code) {
  charset_code = shift_jis;
  linefeed_code = crlf;
  bool charset_fixed = false, linefeed_fixed = false, ascii = true, euc = true, utf = true;
  unsigned p1 = 0, p2 = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned c = data[i];
    if (c == 0) {
      charset_code = binary;
      return;
    }
    if (c == 0x1A) break;
    if (c == '\n') {
      linefeed_code = p1 == '\r' ? crlf : lf;
      linefeed_fixed = true;
    } else if (c == 0x1B) {
      charset_code = iso2022jp;
      charset_fixed = true;
    } else if (c == 0xFD || c == 0xFE) {
      charset_code = euc_jp;
      charset_fixed = true;
    }
    if (p1 == '\r' && c != '\n') {
      linefeed_code = cr;
      linefeed_fixed = true;
    }
    if (!charset_fixed) {
      if (c >= 0x80) ascii = false;
      if ((c >= 0x80 && c <= 0x8D) || (c >= 0x90 && c <= 0x9F) || (p1 == 0x8E && (c < 0xA0 || c > 0xDF)) ||
          (p1 == 0x8F && c < 0xA0) || (p2 < 0x80 && p1 >= 0xA0 && c < 0xA0))
        euc = false;
      if (c >= 0xF0 || ((c < 0x80 || c >= 0xC0) && ((p1 >= 0xC0 && p1 <= 0xEF) || (p2 >= 0xE0 && p2 <= 0xEF))))
        utf = false;
      if (!ascii && !euc && !utf) {
        charset_code = shift_jis;
        charset_fixed = true;
      }
    }
    if (charset_fixed && linefeed_fixed) return;
    p2 = p1;
    p1 = c;
  }
  if (!linefeed_fixed && p1 == '\r') linefeed_code = cr;
}

// An in-memory file, reached by path through /proc, so that rewriting it for every
// input costs no disk flushes.
int memory_file() {
  const int fd = memfd_create("fuzz_detect_charset", 0);
  if (fd < 0) abort();
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int expected_charset, expected_linefeed;
  reference(data, size, expected_charset, expected_linefeed);
  int charset_code = 0, linefeed_code = 0;
  detect_charset_bytes(reinterpret_cast<const char*>(data), size, charset_code, linefeed_code);
  if (charset_code != expected_charset || linefeed_code != expected_linefeed) abort();

  if (size <= 4096) {
    static const int fd = memory_file();
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) abort();
    int file_charset = 0, file_linefeed = 0;
    detect_charset(path, file_charset, file_linefeed);
    if (file_charset != charset_code || file_linefeed != linefeed_code) abort();
  }
  return 0;
}
