#include "installer.h"

#include "integration.h"
#include "windows/main_window.h"

namespace stelvane {

Installer::Installer() = default;
Installer::~Installer() = default;

HWND Installer::ownerWindow() const { return window ? window->handle() : nullptr; }

bool drainMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request to the loop that waits for it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

const wchar_t* recordWordText(RecordWord word) {
  switch (word) {
    case RecordWord::File: return L"EFF_FIC";
    case RecordWord::Folder: return L"EFF_REP";
    case RecordWord::Key: return L"EFF_REG";
    case RecordWord::Value: return L"EFF_ENT_REG";
    case RecordWord::Shortcut: return L"EFF_ICO";
  }
  return L"";
}

}  // namespace stelvane
