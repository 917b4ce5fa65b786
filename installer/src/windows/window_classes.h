// The installer's window classes and what its windows share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace stelvane {

inline constexpr wchar_t kMainClass[] = L"AMORCE";
inline constexpr wchar_t kIconClass[] = L"AMORCE_ICONE";
inline constexpr wchar_t kLanguageClass[] = L"AMORCE_CHOIX";
inline constexpr int kIconResource = 101;

// Registers the three classes and initialises the common controls; safe to
// call more than once.
bool registerWindowClasses(HINSTANCE instance);

// More than 96 logical pixels per inch horizontally.
bool screenIsHighResolution();

// One child control of a planned window, in client pixels.
struct ControlPlan {
  int id = 0;
  const wchar_t* windowClass = L"STATIC";
  std::wstring text;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
};

// Creates the planned controls as children of `parent` with the default GUI font.
void createControls(HWND parent, HINSTANCE instance, const std::vector<ControlPlan>& controls);

// Creates a popup window with a dialog frame, centred on the screen, hidden.
HWND createPopup(const wchar_t* windowClass, const std::wstring& caption, int width, int height,
                 HINSTANCE instance, void* self);
// Resizes `window` to `height` and centres it on the screen again.
void resizeCentred(HWND window, int width, int height);

// Runs the thread's message loop until `window` is destroyed.
void runWindowLoop(HWND window);

// The window procedure of a window object of class T: `this` comes with
// WM_NCCREATE (the creation parameter) and is stored with the window; every
// later message goes to T::handleMessage until WM_NCDESTROY, which forgets
// the window on both sides. T befriends this function and has `window_`.
template <typename T>
LRESULT windowObjectProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->handleMessage(message, wParam, lParam);
}

}  // namespace stelvane
