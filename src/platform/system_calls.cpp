#include "platform/system_calls.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace lirno {
namespace {

int openFile(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

}  // namespace

SystemCalls realSystemCalls() { return {openFile, ::read, ::write, ::fsync, std::rename}; }

SystemCalls& systemCalls() {
  static SystemCalls calls = realSystemCalls();
  return calls;
}

}  // namespace lirno
