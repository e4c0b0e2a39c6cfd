// An in-memory file reached by a path through /proc, for fuzz targets whose
// code under test reads a file by name: rewriting it for every input costs no
// disk flushes and leaves nothing behind.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

struct memory_file {
  int fd = memfd_create("fuzz", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);

  // Makes the file hold exactly `data`; aborts when it cannot.
  void hold(const std::uint8_t* data, std::size_t size) const {
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
  }
};
