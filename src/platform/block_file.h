// A file kept open for reading at any offset through a small cache of aligned
// 64 KiB blocks read with pread.
//
// Hazard: the file may change under an open text. The size and modification time
// are taken at open; whenever a block has to be read from the disk they are checked
// again, and a file that was truncated, grew or was rewritten makes every later
// read fail (read_at returns false). Nothing here maps the file, so a truncation
// can never raise SIGBUS.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vintorel {

struct block_file {
  static constexpr std::size_t block_size = 65536;
  static constexpr int block_count = 4;

  int fd = -1;
  std::uint64_t size = 0;       // at open
  std::int64_t mtime_ns = 0;    // at open
  std::uint64_t inode = 0;
  bool changed = false;         // set once a change on disk was seen
  struct block {
    std::uint64_t start = UINT64_MAX;  // UINT64_MAX: empty
    std::uint32_t filled = 0;
    std::uint64_t last_use = 0;
    std::unique_ptr<char[]> bytes;
  };
  block blocks[block_count];
  std::uint64_t use_clock = 0;

  block_file() = default;
  block_file(const block_file&) = delete;
  block_file& operator=(const block_file&) = delete;
  ~block_file();
};

// Opens `path` read-only; false (and fd -1) on failure.
bool open_block_file(block_file& file, const std::string& path);
void close_block_file(block_file& file);
bool is_open(const block_file& file);
// Reads exactly `count` bytes at `offset` into dest; false on any short read,
// read error, or change of the file since it was opened.
bool read_at(block_file& file, std::uint64_t offset, void* dest, std::size_t count);
// True while the file still has the size and modification time it had at open
// (checks the disk now; a change seen once stays seen).
bool block_file_unchanged(block_file& file);

}  // namespace vintorel
