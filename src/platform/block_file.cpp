// Reading an open file at any offset through a few cached 64 KiB blocks.
#include "platform/block_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/checksum.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

std::int64_t mtime_of(const struct stat& status) {
  return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

// The file as it is now must still be the file that was opened: same size and
// same modification time. Anything else means the offsets in a line index no
// longer describe its bytes.
bool still_unchanged(block_file& file) {
  if (file.changed) return false;
  struct stat status;
  if (fstat(file.fd, &status) != 0 || static_cast<std::uint64_t>(status.st_size) != file.size ||
      mtime_of(status) != file.mtime_ns || static_cast<std::uint64_t>(status.st_ino) != file.inode) {
    file.changed = true;
    return false;
  }
  return true;
}

// The cached block holding `start`, read from the disk when it is not cached.
block_file::block* find_block(block_file& file, std::uint64_t start) {
  block_file::block* victim = &file.blocks[0];
  for (auto& b : file.blocks) {
    if (b.start == start) {
      b.last_use = ++file.use_clock;
      return &b;
    }
    if (b.last_use < victim->last_use) victim = &b;
  }
  if (!victim->bytes) {
    victim->bytes.reset(new (std::nothrow) char[block_file::block_size]);
    if (!victim->bytes) return nullptr;
  }
  victim->start = UINT64_MAX;
  std::uint64_t wanted = file.size - start;
  if (wanted > block_file::block_size) wanted = block_file::block_size;
  std::uint64_t index = start / block_file::block_size;
  if (index < file.block_sums.size()) {
    // Only this block's bytes decide: a block that is shorter now or holds other
    // bytes is unreadable, every other block stays as readable as it was.
    if (!read_exactly_at(file.fd, start, victim->bytes.get(), static_cast<std::size_t>(wanted)) ||
        block_checksum(victim->bytes.get(), static_cast<std::size_t>(wanted)) != file.block_sums[index])
      return nullptr;
  } else {
    if (!read_exactly_at(file.fd, start, victim->bytes.get(), static_cast<std::size_t>(wanted))) {
      // The file was opened with more bytes than it now has.
      file.changed = true;
      return nullptr;
    }
    // Checked after the read, so a change made before or while reading is seen.
    if (!still_unchanged(file)) return nullptr;
  }
  victim->start = start;
  victim->filled = static_cast<std::uint32_t>(wanted);
  victim->last_use = ++file.use_clock;
  return victim;
}

bool is_cached(const block_file& file, std::uint64_t start) {
  for (const auto& b : file.blocks)
    if (b.start == start) return true;
  return false;
}

// Whole checksummed blocks that are not cached, from `offset` (a block start)
// on, read straight into `dest` and checked there: a long copy (saving) then
// costs one read per megabyte and no pass through the cache. The bytes read
// this way, or 0 when the request does not start with such a block.
std::size_t read_whole_blocks(block_file& file, std::uint64_t offset, char* dest, std::size_t count) {
  constexpr std::size_t most = 16 * block_file::block_size;
  std::size_t take = 0;
  while (take < count && take < most) {
    std::uint64_t start = offset + take;
    std::uint64_t index = start / block_file::block_size;
    std::uint64_t bytes = file.size - start < block_file::block_size ? file.size - start : block_file::block_size;
    if (start % block_file::block_size != 0 || index >= file.block_sums.size() || count - take < bytes ||
        is_cached(file, start))
      break;
    take += static_cast<std::size_t>(bytes);
  }
  if (take == 0 || !read_exactly_at(file.fd, offset, dest, take)) return 0;
  for (std::size_t at = 0; at < take; at += block_file::block_size) {
    std::size_t bytes = take - at < block_file::block_size ? take - at : block_file::block_size;
    if (block_checksum(dest + at, bytes) != file.block_sums[(offset + at) / block_file::block_size]) return 0;
  }
  return take;
}

}  // namespace

block_file::~block_file() { close_block_file(*this); }

bool open_block_file(block_file& file, const std::string& path) {
  close_block_file(file);
  int fd = open_regular_file(path);
  struct stat status;
  if (fd < 0 || fstat(fd, &status) != 0) {
    if (fd >= 0) ::close(fd);
    return false;
  }
  file.fd = fd;
  file.size = static_cast<std::uint64_t>(status.st_size);
  file.mtime_ns = mtime_of(status);
  file.inode = static_cast<std::uint64_t>(status.st_ino);
  file.device = static_cast<std::uint64_t>(status.st_dev);
  file.changed = false;
  return true;
}

void close_block_file(block_file& file) {
  if (file.fd >= 0) ::close(file.fd);
  file.fd = -1;
  file.size = 0;
  file.mtime_ns = 0;
  file.inode = 0;
  file.device = 0;
  file.changed = false;
  file.block_sums.clear();
  file.block_sums.shrink_to_fit();
  for (auto& b : file.blocks) {
    b.start = UINT64_MAX;
    b.filled = 0;
    b.last_use = 0;
  }
  file.use_clock = 0;
}

bool is_open(const block_file& file) { return file.fd >= 0; }

bool read_at(block_file& file, std::uint64_t offset, void* dest, std::size_t count) {
  // Without checksums a change seen once makes the whole file unreadable, cached
  // blocks included, since nothing tells which of its bytes still hold.
  if (file.fd < 0 || (file.changed && file.block_sums.empty())) return false;
  if (offset > file.size || count > file.size - offset) return false;
  char* out = static_cast<char*>(dest);
  while (count > 0) {
    std::uint64_t start = offset - offset % block_file::block_size;
    if (std::size_t direct = read_whole_blocks(file, offset, out, count)) {
      out += direct;
      offset += direct;
      count -= direct;
      continue;
    }
    block_file::block* b = find_block(file, start);
    if (!b) return false;
    std::size_t inside = static_cast<std::size_t>(offset - start);
    std::size_t take = b->filled - inside;
    if (take > count) take = count;
    std::memcpy(out, b->bytes.get() + inside, take);
    out += take;
    offset += take;
    count -= take;
  }
  return true;
}

bool block_file_unchanged(block_file& file) { return file.fd >= 0 && still_unchanged(file); }

bool add_block_sum(std::vector<std::uint64_t>& sums, const char* bytes, std::size_t count) {
  try {
    sums.push_back(block_checksum(bytes, count));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool add_zero_block_sums(std::vector<std::uint64_t>& sums, std::uint64_t count) {
  static const std::uint64_t zero_sum = [] {
    std::unique_ptr<char[]> zeros(new char[block_file::block_size]());
    return block_checksum(zeros.get(), block_file::block_size);
  }();
  try {
    sums.insert(sums.end(), static_cast<std::size_t>(count), zero_sum);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

disk_change change_on_disk(const block_file& file, const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return errno == ENOENT ? disk_change::missing : disk_change::changed;
  bool same = static_cast<std::uint64_t>(status.st_ino) == file.inode &&
              static_cast<std::uint64_t>(status.st_dev) == file.device &&
              static_cast<std::uint64_t>(status.st_size) == file.size && mtime_of(status) == file.mtime_ns;
  return same ? disk_change::none : disk_change::changed;
}

}  // namespace vintorel
