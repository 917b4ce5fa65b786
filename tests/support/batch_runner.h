#pragma once
// Runs lirno-batch of the program folder with arguments and returns the
// bytes it wrote to standard output (the report) and its exit code.
#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace lirno::testing {

struct BatchRun {
  int exitCode = -1;
  std::string out;
};

inline std::string shellQuoted(const std::string& arg) {
  std::string q = "'";
  for (const char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline BatchRun runBatch(const std::string& programFolder, const std::vector<std::string>& args) {
  std::string command = shellQuoted(programFolder + "lirno-batch");
  for (const std::string& a : args) command.append(" ").append(shellQuoted(a));
  command.append(" 2>/dev/null");
  BatchRun r;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
  const int status = ::pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace lirno::testing
