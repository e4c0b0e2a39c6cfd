// The system calls of saving, replaceable by tests.
#include "files/file_seam.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace vintorel::file_seam {

ssize_t (*write)(int, const void*, std::size_t) = ::write;
int (*fsync)(int) = ::fsync;
int (*close)(int) = ::close;
int (*rename)(const char*, const char*) = ::rename;
int (*link)(const char*, const char*) = ::link;
int (*fallocate)(int, int, off_t, off_t) = ::fallocate;

void reset() {
  write = ::write;
  fsync = ::fsync;
  close = ::close;
  rename = ::rename;
  link = ::link;
  fallocate = ::fallocate;
}

}  // namespace vintorel::file_seam
