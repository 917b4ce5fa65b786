#pragma once
// Whole-file reading for the small configuration files of the workbench.
#include <string>

namespace lirno {

// Reads the regular file at `path` (UTF-8) into `bytes`. False, with `bytes`
// unchanged, when it cannot be opened or read (missing, a folder, no right).
bool readFileBytes(const std::string& path, std::string& bytes);

}  // namespace lirno
