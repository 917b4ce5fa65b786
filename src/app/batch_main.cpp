// lirno-batch: the workbench's search, word list and report without a window.
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: lirno-batch [workbench options] [document]\n"
    "Runs the workbench's search over a document or a corpus and writes the\n"
    "report. The search engine is not built into this program yet.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  std::fputs(kUsage, stderr);
  return 2;
}
