// stelvane_extract_bench ARCHIVE FOLDER: places ARCHIVE into FOLDER in
// whole-archive mode, as the installer does for a component, and prints the
// time, the amount extracted, the entries that failed and the process's
// peak memory. It first reads and checks every entry without writing
// anything (decode_seconds), which tells the reader's own cost from the file
// system's.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>

#include "installer.h"
#include "placement.h"
#include "zip/zip_archive.h"

namespace {

class NullSink final : public stelvane::zip::Sink {
 public:
  bool write(const void*, size_t) override { return true; }
};

double secondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// Reads every entry of the archive file through the reader into nothing.
bool decodeAll(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  struct FileSource final : stelvane::zip::Source {
    HANDLE file;
    uint64_t length;
    uint64_t size() const override { return length; }
    bool read(uint64_t offset, void* buffer, size_t count) override {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD got = 0;
      return ReadFile(file, buffer, static_cast<DWORD>(count), &got, &at) && got == count;
    }
  } source;
  LARGE_INTEGER size;
  GetFileSizeEx(file, &size);
  source.file = file;
  source.length = static_cast<uint64_t>(size.QuadPart);
  stelvane::zip::Reader reader;
  bool ok = reader.open(source) == stelvane::zip::OpenResult::Ok;
  NullSink sink;
  for (size_t i = 0; ok && i < reader.entries().size(); ++i)
    ok = reader.extract(i, sink) == stelvane::zip::ExtractResult::Ok;
  CloseHandle(file);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    fwprintf(stderr, L"usage: stelvane_extract_bench ARCHIVE FOLDER\n");
    return 2;
  }
  stelvane::Installer installer;
  installer.silent = true;  // every failure question counts as "go on"
  uint64_t files = 0, bytes = 0;
  {
    stelvane::ZipArchive archive;
    if (archive.open(argv[1]) != 0) {
      fwprintf(stderr, L"cannot open %ls\n", argv[1]);
      return 1;
    }
    for (size_t i = 0; i < archive.count(); ++i) {
      if (archive.entry(i).isDirectory()) continue;
      ++files;
      bytes += archive.entry(i).size;
    }
  }
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const bool decoded = decodeAll(argv[1]);
  const double decodeSeconds = secondsSince(start);
  QueryPerformanceCounter(&start);
  const bool placed = stelvane::placeArchive(installer, argv[1], argv[2], true);
  const double seconds = secondsSince(start);

  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  // Every failed entry counts (the silent installer goes on after each).
  const int failed = installer.failedFiles;
  printf("placed=%d failed=%d decoded=%d files=%llu bytes=%llu decode_seconds=%.3f seconds=%.3f "
         "MBps=%.1f peak_working_set_mb=%.1f\n",
         placed && failed == 0 ? 1 : 0, failed, decoded ? 1 : 0, static_cast<unsigned long long>(files),
         static_cast<unsigned long long>(bytes), decodeSeconds, seconds, bytes / 1e6 / seconds,
         memory.PeakWorkingSetSize / 1048576.0);
  return placed && failed == 0 && decoded ? 0 : 1;
}
