#pragma once
// A fresh folder per test, removed afterwards; paths end with "/".
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/system_calls.h"

namespace lirno::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& tag) {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("lirno_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    unblock();
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing "/".
  std::string path() const { return path_.string() + "/"; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

  void write(const std::string& name, const std::string& content) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

  // Makes writes of `name` in this folder fail as in a folder without the
  // right to write (EACCES): the file and the new files made beside it to
  // replace it cannot be opened for writing, even for a user whom file
  // modes do not stop. Undone with the folder.
  void blockWrites(const std::string& name) const {
    blocked().push_back(file(name));
    systemCalls().open = openUnlessBlocked;
  }

 private:
  static std::vector<std::string>& blocked() {
    static std::vector<std::string> paths;
    return paths;
  }
  static int openUnlessBlocked(const char* path, int flags, mode_t mode) {
    if ((flags & (O_WRONLY | O_RDWR)) != 0) {
      for (const std::string& b : blocked()) {
        if (std::string_view(path).substr(0, b.size()) == b) {
          errno = EACCES;
          return -1;
        }
      }
    }
    return realSystemCalls().open(path, flags, mode);
  }
  void unblock() const {
    auto& b = blocked();
    const std::string mine = path();
    std::erase_if(b, [&](const std::string& p) { return p.rfind(mine, 0) == 0; });
    if (b.empty()) systemCalls().open = realSystemCalls().open;
  }

  std::filesystem::path path_;
};

}  // namespace lirno::testing
