// Fuzzes loading a file and writing it back: the input's first byte picks the
// character set and line end it is read in, and whether it is written in
// another line end; the rest is the file. Written back unedited in the same
// character set and line end, a text must give exactly the file's bytes before
// the first 0x1A, whatever they are. Either way, the written file opened from
// what the writer recorded must be the text a scan of it gives.
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
#include "files/written_file.h"

namespace {

const std::string& input_path() {
  static const std::string path = "/tmp/vintorel-fuzz-save-" + std::to_string(getpid()) + ".txt";
  return path;
}

// The file behind `fd`, opened with the writer's record and by a scan, gives
// the same lines, last line and block checksums.
void check_reopening(int fd, vintorel::written_file& written, vintorel::charset charset_code,
                     vintorel::linefeed_kind linefeed_code) {
  if (!written.usable) return;  // a 0x1A in the output leaves it to the scan
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  vintorel::text_document reused, scanned;
  vintorel::load_text_file(reused, path, false, 0, 0, 0, 0, charset_code, linefeed_code, 1, true, &written);
  vintorel::load_text_file(scanned, path, false, 0, 0, 0, 0, charset_code, linefeed_code);
  if (written.usable || reused.state != scanned.state || !reused.lines.check() ||
      reused.line_count() != scanned.line_count() || reused.file.block_sums != scanned.file.block_sums ||
      reused.last_line_length != scanned.last_line_length || reused.has_overlong_line != scanned.has_overlong_line)
    std::abort();
  for (std::int32_t i = 0; i < scanned.line_count(); ++i)
    if (reused.lines.offset(i) != scanned.lines.offset(i) || reused.lines.length(i) != scanned.lines.length(i) ||
        reused.lines.text(i) != scanned.lines.text(i))
      std::abort();
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
  const bool other_end = (data[0] / 12) % 2 != 0;
  if (other_end) document.save_linefeed = static_cast<vintorel::linefeed_kind>(1 + (data[0] / 4 + 1) % 3);
  vintorel::written_file written;
  if (vintorel::write_text_to(document, out, 8, &written) != vintorel::write_status::written) std::abort();
  check_reopening(check, written, charset_code, document.save_linefeed);
  if (other_end) {
    close(check);
    return 0;
  }
  const void* stop = std::memchr(bytes, 0x1A, count);
  const std::size_t expected = stop ? static_cast<std::size_t>(static_cast<const char*>(stop) - bytes) : count;
  std::string saved(expected + 1, '\0');
  ssize_t got = pread(check, saved.data(), saved.size(), 0);
  close(check);
  if (got != static_cast<ssize_t>(expected) || std::memcmp(saved.data(), bytes, expected) != 0) std::abort();
  return 0;
}
