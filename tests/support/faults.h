#pragma once
// Faults injected into the platform's file calls for one scope: a disk that
// fills up after so many bytes, a read that fails in the middle of a file,
// a failing sync or rename. The real calls come back at the end of the
// scope.
#include <fcntl.h>

#include <cerrno>
#include <cstddef>

#include "platform/system_calls.h"

namespace lirno::testing {

class ScopedFaults {
 public:
  ScopedFaults() : saved_(systemCalls()) { current() = this; }
  ~ScopedFaults() {
    systemCalls() = saved_;
    current() = nullptr;
  }
  ScopedFaults(const ScopedFaults&) = delete;
  ScopedFaults& operator=(const ScopedFaults&) = delete;

  // Writes succeed for `bytes` more bytes, then fail with `error`.
  void diskFullAfter(std::size_t bytes, int error = ENOSPC) {
    writeRoom_ = bytes;
    writeError_ = error;
    systemCalls().write = faultyWrite;
  }
  // Reads give `bytes` more bytes, then fail with `error`.
  void readFailsAfter(std::size_t bytes, int error = EIO) {
    readRoom_ = bytes;
    readError_ = error;
    systemCalls().read = faultyRead;
  }
  // Opening for reading fails with `error` (as for a file without the
  // right to read it, whoever runs the test).
  void readOpenFails(int error = EACCES) {
    openError_ = error;
    systemCalls().open = [](const char* path, int flags, mode_t mode) {
      if ((flags & O_ACCMODE) == O_RDONLY) {
        errno = current()->openError_;
        return -1;
      }
      return current()->saved_.open(path, flags, mode);
    };
  }
  void syncFails(int error = EIO) {
    syncError_ = error;
    systemCalls().fsync = [](int) {
      errno = current()->syncError_;
      return -1;
    };
  }
  void renameFails(int error = EXDEV) {
    renameError_ = error;
    systemCalls().rename = [](const char*, const char*) {
      errno = current()->renameError_;
      return -1;
    };
  }

 private:
  static ScopedFaults*& current() {
    static ScopedFaults* f = nullptr;
    return f;
  }
  static ssize_t faultyWrite(int fd, const void* data, std::size_t size) {
    ScopedFaults& f = *current();
    if (f.writeRoom_ == 0) {
      errno = f.writeError_;
      return -1;
    }
    const std::size_t n = size < f.writeRoom_ ? size : f.writeRoom_;
    const ssize_t done = f.saved_.write(fd, data, n);
    if (done > 0) f.writeRoom_ -= static_cast<std::size_t>(done);
    return done;
  }
  static ssize_t faultyRead(int fd, void* data, std::size_t size) {
    ScopedFaults& f = *current();
    if (f.readRoom_ == 0) {
      errno = f.readError_;
      return -1;
    }
    const std::size_t n = size < f.readRoom_ ? size : f.readRoom_;
    const ssize_t done = f.saved_.read(fd, data, n);
    if (done > 0) f.readRoom_ -= static_cast<std::size_t>(done);
    return done;
  }

  SystemCalls saved_;
  std::size_t writeRoom_ = 0;
  int writeError_ = 0;
  std::size_t readRoom_ = 0;
  int readError_ = 0;
  int openError_ = 0;
  int syncError_ = 0;
  int renameError_ = 0;
};

}  // namespace lirno::testing
