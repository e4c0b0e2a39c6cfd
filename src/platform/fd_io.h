// Whole writes and reads through a file descriptor: interrupted calls are
// retried, a short write is continued, and a read stops at a size limit.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vintorel {

using write_call = ssize_t (*)(int fd, const void* data, std::size_t size);

// Writes all of `data`; false on an error or a write that takes nothing.
// `write` stands in for write(2) where a test needs to make it fail.
bool write_all(int fd, std::string_view data, write_call write = nullptr);

// Reads exactly `count` bytes at `offset`, continuing after short reads; false
// on an error or when the file ends first.
bool read_exactly_at(int fd, std::uint64_t offset, void* dest, std::size_t count);

// Opens `path` for reading only when it is a regular file; a FIFO or device
// under the name never blocks the open and is refused. The descriptor (blocking
// reads, close-on-exec), or -1.
int open_regular_file(const std::string& path);

// Reads everything up to the end of the file into `out`; false, with `out`
// empty, on an error or when the file holds more than `limit` bytes.
bool read_all(int fd, std::string& out, std::size_t limit);

}  // namespace vintorel
