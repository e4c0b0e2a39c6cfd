// Writing a text line by line in its save character set and line end, and the
// names of the backup and the temporary save file.
#include "files/write_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "files/charset.h"
#include "files/file_system.h"
#include "platform/fd_io.h"
#include "platform/private_file.h"

namespace vintorel {

namespace {

constexpr char end_of_text = 0x1A;

// One buffered output file whose every failure is remembered, so a short write,
// a failed flush, fsync or close is never taken for success.
class output_file {
 public:
  output_file(const std::string& path, bool private_file) {
    // The temporary save file lies in a directory others may write to.
    fd_ = private_file ? open_private_for_writing(path)
                       : open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    buffer_.reset(new (std::nothrow) char[buffer_size]);
    ok_ = fd_ >= 0 && buffer_;
  }
  ~output_file() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return ok_; }

  void write(const char* data, std::size_t count) {
    while (ok_ && count > 0) {
      if (used_ == buffer_size) flush();
      std::size_t take = buffer_size - used_;
      if (take > count) take = count;
      std::memcpy(buffer_.get() + used_, data, take);
      used_ += take;
      data += take;
      count -= take;
    }
  }

  // Flushes, syncs and closes; true only when every byte reached the file.
  bool finish() {
    flush();
    if (ok_ && fsync(fd_) != 0 && errno != EINVAL) ok_ = false;  // EINVAL: cannot be synced (a device)
    if (fd_ >= 0 && ::close(fd_) != 0) ok_ = false;
    fd_ = -1;
    return ok_;
  }

 private:
  static constexpr std::size_t buffer_size = 65536;

  void flush() {
    if (ok_) ok_ = write_all(fd_, std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool ok_ = false;
};

using encoder_size = std::size_t (*)(const char*);
using encoder = bool (*)(char*, std::size_t, const char*);

// Converts `text` (internal form, no line end) into `out` by the save character
// set. A NUL byte cannot pass through the encoders, which stop at it, so each
// piece between NUL bytes is converted on its own and the NUL kept.
bool encode(const char* text, std::size_t count, int save_charset, byte_string& out) {
  encoder_size size_of = nullptr;
  encoder convert = nullptr;
  switch (save_charset) {
    case iso2022jp: size_of = sjis_to_jis_size; convert = sjis_to_jis; break;
    case euc_jp: size_of = sjis_to_euc_size; convert = sjis_to_euc; break;
    case utf8: size_of = sjis_to_utf8_size; convert = sjis_to_utf8; break;
    default: out.append(text, count); return true;
  }
  byte_string piece;
  std::unique_ptr<char[]> converted;
  std::size_t start = 0;
  while (start <= count) {
    const char* nul = static_cast<const char*>(std::memchr(text + start, 0, count - start));
    std::size_t end = nul ? static_cast<std::size_t>(nul - text) : count;
    if (end > start) {
      piece.assign(text + start, end - start);
      std::size_t capacity = size_of(piece.c_str());
      converted.reset(new (std::nothrow) char[capacity == 0 ? 1 : capacity]);
      if (!converted || capacity == 0 || !convert(converted.get(), capacity, piece.c_str())) return false;
      out.append(converted.get(), strnlen(converted.get(), capacity));
    }
    if (!nul) break;
    out.push_back('\0');
    start = end + 1;
  }
  return true;
}

// Rewrites the line end of an encoded line (the characters CR, LF and 0x1A are
// the same bytes in every character set) for the save line-end kind.
void adjust_line_end(byte_string& line, int save_linefeed, int file_linefeed) {
  if (save_linefeed == crlf) {
    // The final CR of a file kept in its last line is that file's line end:
    // converting the text to CR LF gives it the LF too. In a CRLF file it is a
    // stray CR and stays as it is, like other mixed line ends.
    std::size_t n = line.size();
    if (file_linefeed != crlf && n >= 2 && line[n - 1] == end_of_text && line[n - 2] == '\r')
      line.insert(n - 1, 1, '\n');
  } else if (save_linefeed == lf) {
    std::size_t at = line.find('\r');
    if (at != byte_string::npos) {
      line.resize(at);
      line.push_back('\n');
    }
  } else if (save_linefeed == cr) {
    std::size_t at = line.find('\n');
    if (at != byte_string::npos) {
      // A LF without CR before it (a line of another kind in a mixed file)
      // becomes the CR; dropping it would join the line with the next one.
      if (at > 0 && line[at - 1] == '\r') {
        line.resize(at);
      } else {
        line.resize(at + 1);
        line[at] = '\r';
      }
    }
  }
}

bool is_line_end_byte(char b) { return b == '\r' || b == '\n' || b == end_of_text; }

}  // namespace

namespace {

bool write_lines(text_document& document, const std::string& path, int tab_size, bool private_file) {
  output_file out(path, private_file);
  if (!out.ok()) return false;
  document.commit_current_line();

  bool ok = true;
  byte_string line;
  byte_string encoded;
  try {
    for (std::int32_t index = 0; ok && index < document.line_count(); ++index) {
      if (!document.fetch_line(index, line)) {
        ok = false;
        break;
      }
      // The line end is passed around the encoder so that no shift sequence can
      // land behind it.
      std::size_t content = line.size();
      while (content > 0 && is_line_end_byte(line[content - 1])) --content;
      encoded.clear();
      if (!encode(line.data(), content, document.save_charset, encoded)) {
        ok = false;
        break;
      }
      encoded.append(line, content, byte_string::npos);
      adjust_line_end(encoded, document.save_linefeed, document.file_linefeed);
      if (!encoded.empty() && encoded.back() == end_of_text) encoded.pop_back();
      out.write(encoded.data(), encoded.size());
      ok = out.ok();
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (!out.finish()) ok = false;
  if (!document.load_current_line(tab_size)) ok = false;
  return ok;
}

}  // namespace

bool write_text(text_document& document, const std::string& path, int tab_size) {
  return write_lines(document, path, tab_size, false);
}

bool write_text_private(text_document& document, const std::string& path, int tab_size) {
  return write_lines(document, path, tab_size, true);
}

std::string backup_name(const std::string& path, const std::tm& local_time) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "(%4d%02d%02d%02d%02d%02d)", local_time.tm_year + 1900,
                local_time.tm_mon + 1, local_time.tm_mday, local_time.tm_hour, local_time.tm_min,
                local_time.tm_sec);
  std::size_t separator = path.find_last_of("/\\");
  std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
    return path.substr(0, dot) + stamp + path.substr(dot);
  return path + stamp;
}

std::string backup_name(const std::string& path) {
  std::time_t now = std::time(nullptr);
  std::tm local_time{};
  localtime_r(&now, &local_time);
  return backup_name(path, local_time);
}

std::string save_temporary_path() { return temporary_directory() + "vintorel.tmp"; }

}  // namespace vintorel
