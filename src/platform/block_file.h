// A file kept open for reading at any offset through a small cache of aligned
// 64 KiB blocks read with pread.
//
// Hazard: the file may change under an open text. The scan that indexes the file
// records a checksum of every block (add_block_sum); whenever such a block has to
// be read from the disk again its checksum is compared, and only a block whose
// bytes differ (or that is gone) fails to read. So a `touch` changes nothing, and
// a rewrite that keeps some blocks keeps the lines inside them readable. A block
// without a recorded checksum falls back to the size, time and inode seen at
// open: any change makes every later read of such blocks fail. A block once in
// the cache holds the bytes that were indexed and stays readable. Nothing here
// maps the file, so a truncation can never raise SIGBUS.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vintorel {

struct block_file {
  static constexpr std::size_t block_size = 65536;
  static constexpr int block_count = 4;

  int fd = -1;
  std::uint64_t size = 0;       // at open
  std::int64_t mtime_ns = 0;    // at open
  std::uint64_t inode = 0;
  std::uint64_t device = 0;
  bool changed = false;         // set once a change on disk was seen (blocks without a checksum)
  std::vector<std::uint64_t> block_sums;  // checksum of block k as indexed
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

// Appends the checksum of the next block to `sums` (a file's block_sums, or a
// list a scan on another thread hands over later; blocks are recorded in file
// order, from block 0); false when memory runs out.
bool add_block_sum(std::vector<std::uint64_t>& sums, const char* bytes, std::size_t count);
// Appends `count` blocks that are wholly a hole (zero bytes).
bool add_zero_block_sums(std::vector<std::uint64_t>& sums, std::uint64_t count);

// What became of the file at `path` since it was opened as `file`: the same
// (size, time and inode as at open), changed (rewritten, touched or replaced
// by another file), or missing (no file there now).
enum class disk_change { none, changed, missing };
disk_change change_on_disk(const block_file& file, const std::string& path);

}  // namespace vintorel
