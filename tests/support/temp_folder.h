#pragma once
// A fresh folder per test, removed afterwards; paths end with "/".
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

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

  // Makes writes of `name` in this folder fail (a folder stands where its
  // temporary file would go), even for a user whom file modes do not stop.
  void blockWrites(const std::string& name) const {
    std::filesystem::create_directories(path_ / (name + ".tmp" + std::to_string(::getpid())));
  }

 private:
  std::filesystem::path path_;
};

}  // namespace lirno::testing
