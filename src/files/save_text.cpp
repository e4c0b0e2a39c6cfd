// The saving sequence: the whole text into a temporary file, a backup when asked,
// the new file put in place by a rename (or, where a rename cannot keep what
// the file is, by a rewrite in place that can be undone), and what is left for
// the user when something fails.
#include "files/save_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>

#include "files/file_seam.h"
#include "files/file_system.h"
#include "files/write_text.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

constexpr std::size_t copy_buffer_size = 1 << 20;
// Room for the six X and the affixes of a temporary name within a 255-byte name.
constexpr std::size_t max_base_in_temporary = 200;

std::string directory_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string base_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new file of this user, mode 0600, made with O_EXCL so that nothing (a link
// included) that exists under the name is used: `pattern` holds XXXXXX before
// its last `suffix_length` bytes. The descriptor, or -1 with errno set.
int create_unique(std::string& pattern, int suffix_length) {
  return mkostemps(pattern.data(), suffix_length, O_CLOEXEC);
}

int create_beside(const std::string& target, const char* tag, std::string& path) {
  path = directory_of(target) + "." + base_of(target).substr(0, max_base_in_temporary) + tag + "XXXXXX";
  return create_unique(path, 0);
}

int create_in_temporary_directory(const char* suffix, std::string& path) {
  path = temporary_directory() + "vintorel-XXXXXX" + suffix;
  return create_unique(path, static_cast<int>(std::char_traits<char>::length(suffix)));
}

mode_t creation_mode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

void sync_directory(const std::string& directory) {
  int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The rename is done either way; a failed sync only leaves it to the kernel.
  file_seam::fsync(fd);
  ::close(fd);
}

// Copies every byte of `from` over `to` from offset 0, cuts `to` to that length
// and syncs it.
bool copy_over(int from, int to) {
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[copy_buffer_size]);
  if (!buffer || lseek(to, 0, SEEK_SET) != 0) return false;
  off_t at = 0;
  for (;;) {
    ssize_t got = pread(from, buffer.get(), copy_buffer_size, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    if (!write_all(to, std::string_view(buffer.get(), static_cast<std::size_t>(got)), file_seam::write))
      return false;
    at += got;
  }
  if (ftruncate(to, at) != 0) return false;
  return file_seam::fsync(to) == 0 || errno == EINVAL;
}

// Copies the file `from` into the descriptor `to` and closes `to`; false on
// any failure.
bool copy_into(const std::string& from, int to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  bool ok = in >= 0 && copy_over(in, to);
  if (in >= 0) ::close(in);
  if (file_seam::close(to) != 0) ok = false;
  return ok;
}

// The backup name is taken over when a backup of the same second is there.
void clear_backup_name(const std::string& backup) {
  struct stat st;
  if (lstat(backup.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(backup.c_str());
}

// A copy of the file under its backup name, with the file's mode; false when
// none could be made (then none is left).
bool copy_to_backup(const std::string& target, const std::string& backup, mode_t mode) {
  clear_backup_name(backup);
  int out = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
  if (out < 0) return false;
  if (copy_into(target, out)) return true;
  ::unlink(backup.c_str());
  return false;
}

// The old bytes of `target` in a private file beside it, or in the temporary
// directory when its directory takes no new file; the path, or "".
std::string keep_old_bytes(const std::string& target) {
  std::string path;
  int fd = create_beside(target, ".old-", path);
  if (fd < 0) fd = create_in_temporary_directory(".old", path);
  if (fd < 0) return std::string();
  if (copy_into(target, fd)) return path;
  ::unlink(path.c_str());
  return std::string();
}

// A new rescue file beside `target` as NAME.rescue (a stamped name when that is
// taken, the temporary directory when the directory takes no new file); the
// descriptor and its path, or -1.
int create_rescue_file(const std::string& target, std::string& path) {
  path = target + ".rescue";
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
  int fd = ::open(path.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST) {
    path = backup_name(target + ".rescue");
    fd = ::open(path.c_str(), flags, 0600);
  }
  if (fd < 0) fd = create_in_temporary_directory(".rescue", path);
  return fd;
}

// What can be saved of a text whose unedited lines cannot be read any more:
// its edited lines, in a rescue file.
std::string write_rescue(text_document& document, const std::string& target, int tab_size) {
  std::string path;
  int fd = create_rescue_file(target, path);
  if (fd < 0) return std::string();
  if (write_edited_lines(document, fd, tab_size) == write_status::written) return path;
  ::unlink(path.c_str());
  return std::string();
}

// The new text in `temporary` takes the file's place by a rename; the old file
// stays whole under its name until then.
void replace_by_rename(const std::string& temporary, const std::string& target, bool exists,
                       const struct stat& old, const save_options& options, save_result& result) {
  std::string backup;
  if (exists && options.keep_backup) {
    backup = backup_name(target);
    clear_backup_name(backup);
    // A second name for the old file; a copy where the file system has no links.
    if (file_seam::link(target.c_str(), backup.c_str()) != 0 &&
        !copy_to_backup(target, backup, old.st_mode & 07777)) {
      result.backup_failed = true;
      backup.clear();
    }
  }
  if (file_seam::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    // The backup would only be a second copy of the file as it still is.
    if (!backup.empty()) ::unlink(backup.c_str());
    return;
  }
  sync_directory(directory_of(target));
  result.status = save_status::saved;
}

// The new text in `temporary` is copied into the file's own inode. The old bytes
// are kept first (as the backup when one is asked for), the space is reserved,
// and a failed copy is undone from the kept bytes; only when that fails too is
// the user pointed at `temporary`.
void rewrite_in_place(const std::string& temporary, const std::string& target, const struct stat& old,
                      const save_options& options, save_result& result) {
  std::string old_copy;
  bool is_backup = false;
  if (options.keep_backup) {
    std::string backup = backup_name(target);
    if (copy_to_backup(target, backup, old.st_mode & 07777)) {
      old_copy = backup;
      is_backup = true;
    } else {
      result.backup_failed = true;
    }
  }
  if (old_copy.empty()) old_copy = keep_old_bytes(target);
  auto finish = [&](bool keep_temporary) {
    if (!keep_temporary) ::unlink(temporary.c_str());
    if (!is_backup && !old_copy.empty()) ::unlink(old_copy.c_str());
  };
  if (old_copy.empty()) return finish(false);

  int in = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
  int out = in < 0 ? -1 : ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  struct stat fresh;
  if (out < 0 || fstat(in, &fresh) != 0) {
    if (in >= 0) ::close(in);
    if (out >= 0) ::close(out);
    return finish(false);
  }
  // A full disk is found here, before a byte of the file changes.
  if (file_seam::fallocate(out, FALLOC_FL_KEEP_SIZE, 0, fresh.st_size) != 0 && (errno == ENOSPC || errno == EDQUOT)) {
    ::close(in);
    ::close(out);
    return finish(false);
  }
  bool copied = copy_over(in, out);
  ::close(in);
  if (file_seam::close(out) != 0) copied = false;
  if (copied) {
    result.status = save_status::saved;
    return finish(false);
  }
  int back = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  bool restored = back >= 0 && copy_into(old_copy, back);
  if (restored) return finish(false);
  result.status = save_status::kept_elsewhere;
  result.kept_path = temporary;
  is_backup = true;  // the old bytes stay too
  finish(true);
}

}  // namespace

std::string rescue_text(text_document& document, const std::string& path) {
  std::string target = resolve_links(path);
  if (target.empty()) target = path;
  std::string rescue;
  int fd = create_rescue_file(target, rescue);
  if (fd < 0) return std::string();
  write_status written = write_text_to(document, fd);
  if (written == write_status::written) return rescue;
  ::unlink(rescue.c_str());
  return written == write_status::unreadable_line ? write_rescue(document, target, 8) : std::string();
}

save_result save_text_file(text_document& document, const std::string& path, const save_options& options) {
  save_result result;
  // A link keeps pointing where it did; the file it names gets the new text.
  std::string target = resolve_links(path);
  if (target.empty()) return result;
  struct stat old {};
  bool exists = stat(target.c_str(), &old) == 0;
  if ((!exists && errno != ENOENT) || (exists && !S_ISREG(old.st_mode))) return result;

  // A file with other names must keep them: only its own inode can change.
  bool in_place = exists && old.st_nlink > 1;
  std::string temporary;
  int fd = create_beside(target, ".", temporary);
  if (fd < 0) {
    // A directory that takes no new file, but a file that can be written.
    if (!exists || (errno != EACCES && errno != EPERM && errno != EROFS)) return result;
    in_place = true;
    fd = create_in_temporary_directory(".tmp", temporary);
    if (fd < 0) return result;
  } else if (!exists) {
    fchmod(fd, creation_mode());
  } else if (!in_place) {
    // The new file must be what the old one was. Only root can give it to
    // another owner, a user only a group of their own; when that cannot be
    // done, the old file is rewritten instead.
    bool owner_kept = (old.st_uid == geteuid() && old.st_gid == getegid()) || fchown(fd, old.st_uid, old.st_gid) == 0;
    if (!owner_kept || fchmod(fd, old.st_mode & 07777) != 0) in_place = true;
  }

  std::unique_ptr<written_file> record;
  if (options.keep_written) record.reset(new (std::nothrow) written_file);
  write_status written = write_text_to(document, fd, options.tab_size, record.get());
  if (written != write_status::written) {
    ::unlink(temporary.c_str());
    if (written == write_status::unreadable_line) {
      result.status = save_status::lines_unreadable;
      result.kept_path = write_rescue(document, target, options.tab_size);
    }
    return result;
  }
  if (in_place) {
    rewrite_in_place(temporary, target, old, options, result);
  } else {
    replace_by_rename(temporary, target, exists, old, options, result);
    // The file under the name is now the one the writer wrote.
    if (result.status == save_status::saved && record && record->usable) result.written = std::move(record);
  }
  return result;
}

}  // namespace vintorel
