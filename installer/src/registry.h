// Registry path strings ("HKEY_LOCAL_MACHINE\Software\Key\Value") and value
// texts ("S,text", "123") of the scripts.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

struct RegistryPath {
  HKEY root = HKEY_CURRENT_USER;
  std::wstring rootName;   // as matched; "HKEY_CURRENT_USER" for an unknown root
  std::wstring keyPath;    // components between the root and the value name
  std::wstring valueName;  // empty: the key's default value
};
// Nothing when the text has no root component (empty text).
std::optional<RegistryPath> parseRegistryPath(std::wstring_view text);

struct RegistryValue {
  DWORD type = REG_SZ;  // REG_SZ or REG_DWORD
  std::wstring text;
  DWORD number = 0;
};
// "S," + text: that text as a string; digits only (also no text): a 32-bit
// number; anything else: the whole text as a string.
RegistryValue parseRegistryValue(std::wstring_view text);

// Recording flags of a write.
inline constexpr int kRecordValue = 1;  // EFF_ENT_REG with the whole path string
inline constexpr int kRecordKey = 2;    // EFF_REG with the root name and key path

// Creates the key with all its parents and sets the value; reports failures
// in message boxes and returns false.
bool writeRegistryValue(Installer& installer, std::wstring_view path, std::wstring_view valueText,
                        int recordFlags);
// Reads the value as text (numbers in decimal). A missing key or value gives
// empty text and true; a malformed path string shows a script error, false.
bool readRegistryValue(const Installer& installer, std::wstring_view path, std::wstring& value);

}  // namespace stelvane
