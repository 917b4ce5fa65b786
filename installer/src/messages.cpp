#include "messages.h"

#include <vector>

#include "installer.h"
#include "macros.h"
#include "text.h"

namespace stelvane {

namespace {

bool show(const Installer& installer, MessageKind kind, std::wstring_view caption,
          const std::wstring& text) {
  if (installer.silent) return true;
  const std::wstring title(caption);
  if (installer.messageSink) return installer.messageSink(kind, title, text);
  UINT style = MB_OK | MB_SETFOREGROUND;
  switch (kind) {
    case MessageKind::Error: style |= MB_ICONERROR; break;
    case MessageKind::Warning: style |= MB_ICONWARNING; break;
    case MessageKind::Information: style |= MB_ICONINFORMATION; break;
    case MessageKind::Question: style = MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND; break;
  }
  const int answer = MessageBoxW(installer.ownerWindow(), text.c_str(), title.c_str(), style);
  return kind != MessageKind::Question || answer == IDYES;
}

std::wstring formatted(const Installer& installer, std::wstring_view format,
                       std::initializer_list<std::wstring> args) {
  const std::vector<std::wstring> list(args);
  return formatText(expandMessage(installer, format, true), list);
}

}  // namespace

void errorBox(const Installer& installer, std::wstring_view caption, std::wstring_view text) {
  show(installer, MessageKind::Error, caption, expandMessage(installer, text));
}

void warningBox(const Installer& installer, std::wstring_view caption, std::wstring_view text) {
  show(installer, MessageKind::Warning, caption, expandMessage(installer, text));
}

void errorBoxFormat(const Installer& installer, std::wstring_view caption,
                    std::wstring_view format, std::initializer_list<std::wstring> args) {
  show(installer, MessageKind::Error, caption, formatted(installer, format, args));
}

bool question(const Installer& installer, std::wstring_view caption, std::wstring_view format,
              std::initializer_list<std::wstring> args) {
  return show(installer, MessageKind::Question, caption, formatted(installer, format, args));
}

void scriptError(const Installer& installer, std::wstring_view key, std::wstring_view section) {
  errorBoxFormat(installer, L"Erreur de script", L"la valeur %s de la section %s n'est pas définie",
                 {std::wstring(key), std::wstring(section)});
}

void systemErrorBox(const Installer& installer, DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? trim(std::wstring_view(buffer, n)) : L"Error " + decimal(error);
  if (buffer) LocalFree(buffer);
  show(installer, MessageKind::Information, L"Error", text);
}

}  // namespace stelvane
