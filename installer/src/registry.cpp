#include "registry.h"

#include "handle.h"
#include "installer.h"
#include "integration.h"
#include "messages.h"
#include "text.h"

namespace stelvane {

namespace {

struct RootName {
  const wchar_t* name;
  HKEY key;
};

const RootName kRoots[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
};

bool allDigits(std::wstring_view text) {
  for (wchar_t c : text)
    if (c < L'0' || c > L'9') return false;
  return true;
}

}  // namespace

std::optional<RegistryPath> parseRegistryPath(std::wstring_view text) {
  if (text.empty()) return std::nullopt;
  auto parts = split(text, L"\\");
  RegistryPath path;
  path.rootName = L"HKEY_CURRENT_USER";
  for (const auto& root : kRoots) {
    if (parts[0] == root.name) {
      path.root = root.key;
      path.rootName = root.name;
    }
  }
  if (parts.size() >= 2) {
    path.valueName = parts.back();
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
      if (!path.keyPath.empty()) path.keyPath += L'\\';
      path.keyPath += parts[i];
    }
  }
  return path;
}

RegistryValue parseRegistryValue(std::wstring_view text) {
  RegistryValue value;
  if (startsWith(text, L"S,")) {
    value.text.assign(text.substr(2));
  } else if (allDigits(text)) {
    value.type = REG_DWORD;
    // Decimal text of a 32-bit number; longer digit strings wrap as the
    // system's own conversion does.
    unsigned long long n = 0;
    for (wchar_t c : text) n = n * 10 + static_cast<unsigned>(c - L'0');
    value.number = static_cast<DWORD>(n);
  } else {
    value.text.assign(text);
  }
  return value;
}

bool writeRegistryValue(Installer& installer, std::wstring_view pathText,
                        std::wstring_view valueText, int recordFlags) {
  const std::wstring pathString(pathText);
  auto path = parseRegistryPath(pathText);
  if (!path) {
    errorBoxFormat(installer, L"Erreur de script INSTALL_bSetRegValue (2)",
                   L"La chaine %s n'est pas correcte", {pathString});
    return false;
  }
  // Create every prefix of the key path, so each level exists with full access.
  if (!path->keyPath.empty()) {
    auto components = split(path->keyPath, L"\\");
    std::wstring prefix;
    for (size_t i = 0; i < components.size(); ++i) {
      if (!prefix.empty()) prefix += L'\\';
      prefix += components[i];
      RegKey key;
      RegCreateKeyExW(path->root, prefix.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
      if (key && i + 1 == components.size() && (recordFlags & kRecordKey) && installer.integration)
        installer.integration->record(RecordWord::Key, path->rootName + L"\\" + path->keyPath);
    }
  }
  RegKey key;
  const LONG opened = RegOpenKeyExW(path->root, path->keyPath.c_str(), 0, KEY_SET_VALUE, key.out());
  if (opened != ERROR_SUCCESS) {
    systemErrorBox(installer, static_cast<DWORD>(opened));
    errorBoxFormat(installer, L"Erreur de script INSTALL_bSetRegValue (1)",
                   L"La chaine %s n'est pas correcte", {pathString});
    return false;
  }
  const RegistryValue value = parseRegistryValue(valueText);
  LONG set;
  if (value.type == REG_DWORD) {
    set = RegSetValueExW(key.get(), path->valueName.c_str(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&value.number), sizeof(value.number));
  } else {
    set = RegSetValueExW(key.get(), path->valueName.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.text.c_str()),
                         static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
  }
  if (set != ERROR_SUCCESS) {
    systemErrorBox(installer, static_cast<DWORD>(set));
    return false;
  }
  if ((recordFlags & kRecordValue) && installer.integration)
    installer.integration->record(RecordWord::Value, pathString);
  return true;
}

bool readRegistryValue(const Installer& installer, std::wstring_view pathText,
                       std::wstring& value) {
  value.clear();
  auto path = parseRegistryPath(pathText);
  if (!path) {
    errorBoxFormat(installer, L"Erreur de script INSTALL_bGetRegValue",
                   L"La chaine %s n'est pas correcte", {std::wstring(pathText)});
    return false;
  }
  RegKey key;
  if (RegOpenKeyExW(path->root, path->keyPath.c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
      ERROR_SUCCESS)
    return true;
  // The value is read into a 1024-byte buffer.
  alignas(wchar_t) BYTE buffer[1024 + sizeof(wchar_t)] = {};
  DWORD type = 0;
  DWORD size = 1024;
  if (RegQueryValueExW(key.get(), path->valueName.c_str(), nullptr, &type, buffer, &size) !=
      ERROR_SUCCESS)
    return true;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(buffer), size / sizeof(wchar_t));
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    value = text;
  } else if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD n;
    memcpy(&n, buffer, sizeof(n));
    value = decimal(n);
  }
  return true;
}

}  // namespace stelvane
