#pragma once
// The system calls through which the platform's file reading and writing
// go. The program never changes them; tests replace single entries to make
// a read fail in the middle of a file, a disk fill up or a rename fail, as
// real disks do, and put them back afterwards.
#include <sys/types.h>

#include <cstddef>

namespace lirno {

struct SystemCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, std::size_t size);
  ssize_t (*write)(int fd, const void* buffer, std::size_t size);
  int (*fsync)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls in use (initially the system's own).
SystemCalls& systemCalls();

// The system's own calls.
SystemCalls realSystemCalls();

}  // namespace lirno
