// Fuzzes loading a file and writing it back: the input's first byte picks the
// character set and line end it is read in, the rest is the file. Written back
// unedited in the same character set and line end, a text must give exactly
// the file's bytes before the first 0x1A, whatever they are.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/write_text.h"

namespace {

const std::string& input_path() {
  static const std::string path = "/tmp/vintorel-fuzz-save-" + std::to_string(getpid()) + ".txt";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto charset_code = static_cast<vintorel::charset>(2 + data[0] % 4);  // Shift_JIS ... UTF-8
  const auto linefeed_code = static_cast<vintorel::linefeed_kind>(1 + (data[0] / 4) % 3);  // CR LF, LF, CR
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const std::size_t count = size - 1;
  int fd = open(input_path().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0 || write(fd, bytes, count) != static_cast<ssize_t>(count)) std::abort();
  close(fd);

  vintorel::text_document document;
  vintorel::load_text_file(document, input_path(), false, 0, 0, 0, 0, charset_code, linefeed_code);
  unlink(input_path().c_str());
  if (document.state == vintorel::failed_state) std::abort();

  int out = memfd_create("saved", MFD_CLOEXEC);
  int check = dup(out);
  if (out < 0 || check < 0) std::abort();
  if (vintorel::write_text_to(document, out) != vintorel::write_status::written) std::abort();
  const void* stop = std::memchr(bytes, 0x1A, count);
  const std::size_t expected = stop ? static_cast<std::size_t>(static_cast<const char*>(stop) - bytes) : count;
  std::string saved(expected + 1, '\0');
  ssize_t got = pread(check, saved.data(), saved.size(), 0);
  close(check);
  if (got != static_cast<ssize_t>(expected) || std::memcmp(saved.data(), bytes, expected) != 0) std::abort();
  return 0;
}
