// stelvane_extract_bench ARCHIVE FOLDER: places ARCHIVE into FOLDER in
// whole-archive mode, as the installer does for a component, and prints the
// time, the amount extracted and the process's peak memory.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "installer.h"
#include "placement.h"
#include "zip/zip_archive.h"

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
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const bool placed = stelvane::placeArchive(installer, argv[1], argv[2], true);
  QueryPerformanceCounter(&end);
  const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;

  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  printf("placed=%d files=%llu bytes=%llu seconds=%.3f MBps=%.1f peak_working_set_mb=%.1f\n", placed ? 1 : 0,
         static_cast<unsigned long long>(files), static_cast<unsigned long long>(bytes), seconds,
         bytes / 1e6 / seconds, memory.PeakWorkingSetSize / 1048576.0);
  return placed ? 0 : 1;
}
