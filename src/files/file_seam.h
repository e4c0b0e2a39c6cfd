// The system calls through which saving reaches the disk. Tests point them at
// failing stand-ins (a disk that fills up after some bytes, a failed fsync,
// close, rename or link) to check that no failure ever costs the user a byte.
#pragma once
#include <sys/types.h>

#include <cstddef>

namespace vintorel::file_seam {

extern ssize_t (*write)(int fd, const void* data, std::size_t size);
extern int (*fsync)(int fd);
extern int (*close)(int fd);
extern int (*rename)(const char* from, const char* to);
extern int (*link)(const char* from, const char* to);
extern int (*fallocate)(int fd, int mode, off_t offset, off_t length);

// Back to the system's own calls.
void reset();

}  // namespace vintorel::file_seam
