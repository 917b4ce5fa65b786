#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "platform/system_calls.h"

namespace lirno {
namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

// The file a path finally names: symbolic links followed, also a dangling
// last one (the file is then created where it points). Empty, with errno
// set, for a loop of links.
std::string finalTarget(const std::string& path) {
  std::string p = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
    if (n < 0) return p;
    link.resize(static_cast<std::size_t>(n));
    p = !link.empty() && link.front() == '/' ? link : folderOf(p) + link;
  }
  errno = ELOOP;
  return {};
}

// A name nobody can guess in advance, so that the exclusive creation does
// not fail on a name someone prepared.
std::string tempName(const std::string& target) {
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t x = static_cast<std::uint64_t>(
                        std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull) ^
                    (static_cast<std::uint64_t>(::getpid()) << 32);
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".tmp%06llx", static_cast<unsigned long long>(x & 0xFFFFFF));
  // A name at the system's length limit gets a short one beside it.
  if (fileNameOf(target).size() + std::strlen(suffix) > NAME_MAX) {
    return folderOf(target) + ".lirno" + suffix;
  }
  return target + suffix;
}

void syncFolderOf(const std::string& path) {
  const std::string folder = folderOf(path);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  systemCalls().fsync(fd);  // the rename lasts; a folder that cannot sync is no failure
  ::close(fd);
}

}  // namespace

FileWriter::~FileWriter() { abandon(); }

bool FileWriter::fail(int code) {
  if (errorCode_ == 0) errorCode_ = code ? code : EIO;
  errno = errorCode_;
  return false;
}

void FileWriter::abandon() {
  if (owned_ && fd_ >= 0) ::close(fd_);
  fd_ = -1;
  owned_ = false;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  buffer_.clear();
}

bool FileWriter::open(const std::string& path, Mode mode) {
  abandon();
  errorCode_ = 0;
  renamed_ = false;
  sync_ = false;
  target_ = path;
  if (mode == Mode::Append) {
    fd_ = systemCalls().open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY,
                             0666);
    if (fd_ < 0) return fail(errno);
    owned_ = true;
    struct stat st {};
    sync_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    return true;
  }

  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return fail(EISDIR);
  target_ = finalTarget(path);
  if (target_.empty()) return fail(errno);
  struct stat atTarget {};
  const bool inPlace =
      exists && (!S_ISREG(st.st_mode) ||
                 // A link the file system resolves its own way (/dev/stdout
                 // on a file): the file it names is written as it is.
                 ::stat(target_.c_str(), &atTarget) != 0 || atTarget.st_dev != st.st_dev ||
                 atTarget.st_ino != st.st_ino);
  if (inPlace) {
    // A FIFO or a device is written as it is: renaming a file over it
    // would remove it.
    target_ = path;
    const int truncate = S_ISREG(st.st_mode) ? O_TRUNC : 0;
    fd_ = systemCalls().open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | truncate, 0);
    if (fd_ < 0) return fail(errno);
    owned_ = true;
    return true;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = tempName(target_);
    // O_EXCL: a name that exists (a link someone placed there) is never
    // written through.
    fd_ = systemCalls().open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                             0666);
    if (fd_ >= 0) {
      temp_ = name;
      break;
    }
    if (errno != EEXIST) return fail(errno);
  }
  if (fd_ < 0) return fail(EEXIST);
  owned_ = true;
  renamed_ = true;
  sync_ = true;
  if (exists) {
    // The owner only where the system allows it (a user cannot give files
    // away); the mode always.
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, st.st_uid, st.st_gid);
    }
    if (::fchmod(fd_, st.st_mode & 07777) != 0) return fail(errno);
  }
  return true;
}

void FileWriter::attach(int fd) {
  abandon();
  errorCode_ = 0;
  renamed_ = false;
  sync_ = false;
  target_.clear();
  fd_ = fd;
  owned_ = false;
}

bool FileWriter::flushBuffer() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = systemCalls().write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      buffer_.clear();
      return fail(errno);
    }
    if (n == 0) {
      buffer_.clear();
      return fail(ENOSPC);
    }
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool FileWriter::write(std::string_view bytes) {
  if (failed()) return false;
  if (fd_ < 0) return fail(EBADF);
  if (buffer_.capacity() < kBufferBytes) buffer_.reserve(kBufferBytes);
  while (!bytes.empty()) {
    const std::size_t room = kBufferBytes - buffer_.size();
    const std::size_t take = bytes.size() < room ? bytes.size() : room;
    buffer_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (buffer_.size() == kBufferBytes && !flushBuffer()) return false;
  }
  return true;
}

bool FileWriter::commit() {
  if (!failed() && fd_ < 0) fail(EBADF);
  if (!failed()) flushBuffer();
  // A file system that cannot sync (EINVAL) still holds what was written.
  if (!failed() && sync_ && systemCalls().fsync(fd_) != 0 && errno != EINVAL) fail(errno);
  if (owned_ && fd_ >= 0) {
    if (::close(fd_) != 0 && !failed()) fail(errno);
    fd_ = -1;
    owned_ = false;
  }
  if (failed()) {
    abandon();
    errno = errorCode_;
    return false;
  }
  if (renamed_) {
    if (systemCalls().rename(temp_.c_str(), target_.c_str()) != 0) {
      fail(errno);
      abandon();
      errno = errorCode_;
      return false;
    }
    temp_.clear();
    syncFolderOf(target_);
  }
  fd_ = -1;
  return true;
}

std::string FileWriter::error() const {
  return errorCode_ ? std::strerror(errorCode_) : std::string();
}

bool writeWholeFile(const std::string& path, std::string_view bytes, FileWriter::Mode mode) {
  FileWriter w;
  if (w.open(path, mode) && w.write(bytes) && w.commit()) return true;
  errno = w.errorCode();
  return false;
}

}  // namespace lirno
