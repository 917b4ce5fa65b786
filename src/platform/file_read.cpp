#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system_calls.h"

namespace lirno {
namespace {

int errnoOf(const FileError& e) {
  switch (e.kind) {
    case FileError::Kind::None: return 0;
    case FileError::Kind::Open:
    case FileError::Kind::Read: return e.code;
    case FileError::Kind::NotRegular: return e.code ? e.code : EINVAL;
    case FileError::Kind::TooLarge: return EFBIG;
  }
  return EIO;
}

}  // namespace

bool FileError::missing() const {
  return kind == Kind::Open && (code == ENOENT || code == ENOTDIR);
}

std::string FileError::messageText() const {
  if (missing()) return "Fichier non trouvé :\n";
  switch (kind) {
    case Kind::TooLarge: return "Fichier trop volumineux :\n";
    case Kind::NotRegular: return "Ce n'est pas un fichier ordinaire :\n";
    default: return "Impossible de lire le fichier :\n";
  }
}

std::string FileError::detail(const std::string& path) const {
  std::string out = path;
  if (missing()) return out;
  if (kind == Kind::TooLarge) {
    out.append("\n").append(std::to_string(size)).append(" octets, la limite est de ");
    out.append(std::to_string(limit)).append(" octets");
  } else if (kind == Kind::NotRegular) {
    if (code == EISDIR) out.append("\n").append(std::strerror(code));
  } else if (code != 0) {
    out.append("\n").append(std::strerror(code));
  }
  return out;
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::open(const std::string& path, std::uint64_t maxBytes) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  error_ = {};
  limit_ = maxBytes;
  total_ = 0;
  // Looked at before opening: opening a FIFO waits for a writer, and
  // opening a device may act on it.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error_ = {FileError::Kind::NotRegular, S_ISDIR(st.st_mode) ? EISDIR : 0, 0, 0};
    errno = errnoOf(error_);
    return false;
  }
  // Not waited on either when something else took the name meanwhile.
  const int fd = systemCalls().open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
  if (fd < 0) {
    error_ = {FileError::Kind::Open, errno, 0, 0};
    errno = errnoOf(error_);
    return false;
  }
  if (::fstat(fd, &st) != 0) {
    error_ = {FileError::Kind::Read, errno, 0, 0};
    ::close(fd);
    errno = errnoOf(error_);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    error_ = {FileError::Kind::NotRegular, S_ISDIR(st.st_mode) ? EISDIR : 0, 0, 0};
    errno = errnoOf(error_);
    return false;
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
  if (size_ > maxBytes) {
    ::close(fd);
    error_ = {FileError::Kind::TooLarge, 0, size_, maxBytes};
    errno = errnoOf(error_);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  return true;
}

std::ptrdiff_t InputFile::read(void* buffer, std::size_t capacity) {
  if (fd_ < 0) return -1;
  for (;;) {
    const ssize_t n = systemCalls().read(fd_, buffer, capacity);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = {FileError::Kind::Read, errno, 0, 0};
      errno = errnoOf(error_);
      return -1;
    }
    total_ += static_cast<std::uint64_t>(n);
    if (total_ > limit_) {
      error_ = {FileError::Kind::TooLarge, 0, total_, limit_};
      errno = errnoOf(error_);
      return -1;
    }
    return n;
  }
}

bool readFileBytes(const std::string& path, std::string& bytes, FileError* error,
                   std::uint64_t maxBytes) {
  InputFile in;
  auto fail = [&] {
    if (error) *error = in.error();
    errno = errnoOf(in.error());
    return false;
  };
  if (!in.open(path, maxBytes)) return fail();
  std::string out;
  out.reserve(static_cast<std::size_t>(in.size()));
  char block[65536];
  for (;;) {
    const std::ptrdiff_t n = in.read(block, sizeof block);
    if (n == 0) break;
    if (n < 0) return fail();
    out.append(block, static_cast<std::size_t>(n));
  }
  bytes.swap(out);
  if (error) *error = {};
  return true;
}

}  // namespace lirno
