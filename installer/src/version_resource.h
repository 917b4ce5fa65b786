// Strings of a file's version resource.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stelvane {

// The string `name` of `file`'s version resource, looked up under the file's
// first translation, then under "\StringFileInfo\040904E4\". Nothing when the
// file has no such string (or the name is longer than 50 characters).
std::optional<std::wstring> versionString(const std::wstring& file, std::wstring_view name);

}  // namespace stelvane
