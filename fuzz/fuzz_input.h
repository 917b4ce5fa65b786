#pragma once
// Cutting a fuzz input into the pieces a target needs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace lirno::fuzz {

// The input after its first `options` bytes (0 where the input is shorter),
// cut at NUL bytes into at most `count` parts, the last one taking the rest.
struct Input {
  std::vector<std::uint8_t> options;
  std::vector<std::string_view> parts;

  Input(const std::uint8_t* data, std::size_t size, std::size_t optionCount, std::size_t count) {
    const std::size_t taken = size < optionCount ? size : optionCount;
    options.assign(data, data + taken);
    options.resize(optionCount, 0);
    std::string_view rest(reinterpret_cast<const char*>(data) + taken, size - taken);
    while (parts.size() + 1 < count) {
      const std::size_t nul = rest.find('\0');
      if (nul == std::string_view::npos) break;
      parts.push_back(rest.substr(0, nul));
      rest.remove_prefix(nul + 1);
    }
    parts.push_back(rest);
    parts.resize(count);
  }
};

// Stops the run with what went wrong.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// A file of this process for the targets that read files.
inline std::string scratchFile(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/lirno-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

inline void writeFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) fail("cannot write a scratch file");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace lirno::fuzz
