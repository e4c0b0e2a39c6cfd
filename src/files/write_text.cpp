// Writing a text line by line in its save character set and line end, and the
// names of the backup and the temporary save file.
#include "files/write_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "files/charset.h"
#include "files/file_seam.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

constexpr char end_of_text = 0x1A;

// One buffered output file over a descriptor it owns, whose every failure is
// remembered, so a short write, a failed sync or close is never taken for success.
class output_file {
 public:
  // With `written`, every byte is also recorded there as the loader's scan
  // would record it (the file must be written from offset 0).
  explicit output_file(int fd, written_file* written = nullptr)
      : fd_(fd), buffer_(new (std::nothrow) char[buffer_size]), written_(written) {
    ok_ = fd_ >= 0 && buffer_;
    if (written_) written_->usable = ok_;
  }
  ~output_file() {
    if (fd_ >= 0) file_seam::close(fd_);
  }
  bool ok() const { return ok_; }

  void write(const char* data, std::size_t count) {
    if (recording() && !record_scanned_bytes(*written_, data, count)) written_->usable = false;
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

  // Copies the bytes of the file lines [first, last] of `document`, which
  // follow each other in its file, straight into the buffer; false when they
  // cannot be read (the output stays as good as it was).
  bool copy_lines(text_document& document, std::int32_t first, std::int32_t last) {
    std::uint64_t start = document.lines.offset(first);
    std::uint64_t end = document.lines.offset(last) + document.lines.length(last);
    if (recording()) {
      // Their records are known; only the bytes at either end can change how
      // the scan joins them to what comes before and after.
      char first_byte = 0, last_byte = 0;
      if (!read_at(document.file, start, &first_byte, 1) || !read_at(document.file, end - 1, &last_byte, 1)) return false;
      if (!record_copied_lines(*written_, document.lines, first, last, first_byte, last_byte)) written_->usable = false;
    }
    return copy_from(document.file, start, end - start);
  }

  // Copies `count` bytes of `file` from `offset` straight into the buffer; false
  // when they cannot be read (the output stays as good as it was).
  bool copy_from(block_file& file, std::uint64_t offset, std::uint64_t count) {
    while (ok_ && count > 0) {
      if (used_ == buffer_size) flush();
      std::uint64_t take = buffer_size - used_;
      if (take > count) take = count;
      if (!read_at(file, offset, buffer_.get() + used_, static_cast<std::size_t>(take))) return false;
      used_ += static_cast<std::size_t>(take);
      offset += take;
      count -= take;
    }
    return true;
  }

  // Flushes, syncs and closes; true only when every byte reached the disk.
  bool finish() {
    flush();
    if (ok_ && file_seam::fsync(fd_) != 0 && errno != EINVAL) ok_ = false;  // EINVAL: cannot be synced (a device)
    if (written_) note_identity();
    if (fd_ >= 0 && file_seam::close(fd_) != 0) ok_ = false;
    fd_ = -1;
    return ok_;
  }

 private:
  static constexpr std::size_t buffer_size = 1 << 20;

  // Every flush but the last writes a full buffer, so the recorded pieces end
  // on block boundaries.
  static_assert(buffer_size % block_file::block_size == 0);

  bool recording() const { return ok_ && written_ && written_->usable; }

  void flush() {
    if (recording() && !record_block_sums(*written_, buffer_.get(), used_)) written_->usable = false;
    if (ok_) ok_ = write_all(fd_, std::string_view(buffer_.get(), used_), file_seam::write);
    used_ = 0;
  }

  // The file as the writer leaves it, so that a later open can tell it is the same.
  void note_identity() {
    struct stat status;
    if (!ok_ || fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
      written_->usable = false;
      return;
    }
    written_->size = static_cast<std::uint64_t>(status.st_size);
    written_->inode = static_cast<std::uint64_t>(status.st_ino);
    written_->device = static_cast<std::uint64_t>(status.st_dev);
    written_->mtime_ns = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  }

  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool ok_ = false;
  written_file* written_ = nullptr;
};

using encoder_size = std::size_t (*)(const char*);
using encoder = bool (*)(char*, std::size_t, const char*);

// Converts `text` (internal form, no line end) into `out` by the save character
// set. A NUL byte cannot pass through the encoders, which stop at it, so each
// piece between NUL bytes is converted on its own and the NUL kept.
bool encode(const char* text, std::size_t count, charset save_charset, byte_string& out) {
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
void adjust_line_end(byte_string& line, linefeed_kind save_linefeed, linefeed_kind file_linefeed) {
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

// Converts one internal-form line (its line end included) into `out` in the
// save character set and line end; the 0x1A of the last line is dropped.
bool convert_line(const byte_string& line, const text_document& document, byte_string& out) {
  // The line end is passed around the encoder so that no shift sequence can
  // land behind it.
  std::size_t content = line.size();
  while (content > 0 && is_line_end_byte(line[content - 1])) --content;
  out.clear();
  if (!encode(line.data(), content, document.save_charset, out)) return false;
  out.append(line, content, byte_string::npos);
  adjust_line_end(out, document.save_linefeed, document.file_linefeed);
  if (!out.empty() && out.back() == end_of_text) out.pop_back();
  return true;
}

// The file bytes of line `index` as read, in `out`; false when unreadable.
bool read_file_line(text_document& document, std::int32_t index, byte_string& out) {
  out.resize(document.lines.length(index));
  return read_at(document.file, document.lines.offset(index), out.data(), out.size());
}

// The last line lives in memory; when it still holds what its file bytes decode
// to, those bytes are what it was read from. True with them in `out`.
bool last_line_as_read(text_document& document, byte_string& out) {
  const byte_string& text = document.lines.text(document.line_count() - 1);
  // Decoding never makes a line longer.
  if (text.size() > document.last_line_length + 1) return false;
  out.resize(static_cast<std::size_t>(document.last_line_length));
  if (!read_at(document.file, document.last_line_offset, out.data(), out.size())) return false;
  byte_string decoded = out;
  decode_in_place(decoded, document.file_charset);
  return decoded.size() + 1 == text.size() && text.compare(0, decoded.size(), decoded) == 0;
}

write_status write_lines(text_document& document, output_file& out) {
  const bool as_read = document.save_charset == document.file_charset && is_open(document.file);
  const bool same_end = document.save_linefeed == document.file_linefeed;
  const std::int32_t count = document.line_count();
  byte_string line;
  byte_string converted;
  std::int32_t index = 0;
  while (index < count && out.ok()) {
    const bool file_line = !document.lines.is_in_memory(index);
    if (as_read && file_line && same_end) {
      // Lines that follow each other in the file are one copy.
      std::int32_t last = document.lines.file_run_up(index, count);
      if (!out.copy_lines(document, index, last)) return write_status::unreadable_line;
      index = last + 1;
      continue;
    }
    if (as_read && file_line) {
      if (!read_file_line(document, index, line)) return write_status::unreadable_line;
      normalise_line_end(line, document.file_linefeed);
      adjust_line_end(line, document.save_linefeed, document.file_linefeed);
      out.write(line.data(), line.size());
    } else if (as_read && index == count - 1 && last_line_as_read(document, line)) {
      // A final CR or LF is the last line's own line end; it changes only with
      // the text's line end.
      if (!same_end) {
        line.push_back(end_of_text);
        adjust_line_end(line, document.save_linefeed, document.file_linefeed);
        if (line.back() == end_of_text) line.pop_back();
      }
      out.write(line.data(), line.size());
    } else {
      if (!document.fetch_line(index, line)) return write_status::unreadable_line;
      if (!convert_line(line, document, converted)) return write_status::conversion_failed;
      out.write(converted.data(), converted.size());
    }
    ++index;
  }
  return out.ok() ? write_status::written : write_status::write_failed;
}

}  // namespace

write_status write_text_to(text_document& document, int fd, int tab_size, written_file* written) {
  // The written text has about as many lines as the text.
  if (written) written->lines.reserve_file_lines(static_cast<std::size_t>(document.line_count()));
  output_file out(fd, written);
  if (!out.ok()) return write_status::open_failed;
  document.commit_current_line();
  write_status status;
  try {
    status = write_lines(document, out);
  } catch (const std::bad_alloc&) {
    status = write_status::conversion_failed;
  }
  if (!out.finish() && status == write_status::written) status = write_status::write_failed;
  if (!document.load_current_line(tab_size) && status == write_status::written) status = write_status::unreadable_line;
  if (written && status != write_status::written) written->usable = false;
  return status;
}

bool write_text(text_document& document, const std::string& path, int tab_size) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return write_text_to(document, fd, tab_size) == write_status::written;
}

write_status write_edited_lines(text_document& document, int fd, int tab_size) {
  output_file out(fd);
  if (!out.ok()) return write_status::open_failed;
  document.commit_current_line();
  write_status status = write_status::written;
  byte_string converted;
  try {
    for (std::int32_t index = 0; index < document.line_count() && out.ok(); ++index) {
      if (!document.lines.is_in_memory(index)) continue;
      byte_string number = std::to_string(index + 1) + "\t";
      if (!convert_line(document.lines.text(index), document, converted)) {
        status = write_status::conversion_failed;
        break;
      }
      out.write(number.data(), number.size());
      out.write(converted.data(), converted.size());
    }
  } catch (const std::bad_alloc&) {
    status = write_status::conversion_failed;
  }
  if (!out.finish() && status == write_status::written) status = write_status::write_failed;
  document.load_current_line(tab_size);
  return status;
}

std::int32_t first_lossy_line(text_document& document, std::uint64_t byte_budget) {
  if ((document.file_charset != utf8 && document.file_charset != euc_jp) || !is_open(document.file)) return -1;
  byte_string raw, decoded, encoded;
  std::uint64_t spent = 0;
  const std::int32_t last = document.line_count() - 1;
  try {
    for (std::int32_t index = 0; index <= last && spent < byte_budget; ++index) {
      if (index == last) {
        raw.resize(static_cast<std::size_t>(document.last_line_length));
        if (!read_at(document.file, document.last_line_offset, raw.data(), raw.size())) return -1;
      } else if (document.lines.is_in_memory(index) || !read_file_line(document, index, raw)) {
        continue;
      }
      spent += raw.size();
      std::size_t content = raw.size();
      while (content > 0 && is_line_end_byte(raw[content - 1])) --content;
      decoded.assign(raw, 0, content);
      decode_in_place(decoded, document.file_charset);
      encoded.clear();
      if (!encode(decoded.data(), decoded.size(), document.file_charset, encoded) ||
          encoded.compare(0, byte_string::npos, raw, 0, content) != 0)
        return index;
    }
  } catch (const std::bad_alloc&) {
  }
  return -1;
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

}  // namespace vintorel
