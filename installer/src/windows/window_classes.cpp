#include "window_classes.h"

#include <commctrl.h>

#include "system_library.h"

namespace stelvane {

namespace {

LRESULT CALLBACK iconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource))) DrawIcon(dc, 0, 0, icon);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style, bool icon) {
  WNDCLASSEXW wc = {};
  if (GetClassInfoExW(instance, name, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = icon ? LoadIconW(instance, MAKEINTRESOURCEW(kIconResource)) : nullptr;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

// Defined with the windows that use these classes.
LRESULT CALLBACK mainWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK languageWindowProc(HWND, UINT, WPARAM, LPARAM);

bool registerWindowClasses(HINSTANCE instance) {
  // The common controls (version 6, as the manifest asks) from the system folder.
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = systemFunction<Init>(L"comctl32.dll", "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    init(&controls);
  }
  return registerClass(instance, kMainClass, mainWindowProc, CS_HREDRAW | CS_VREDRAW, true) &&
         registerClass(instance, kIconClass, iconProc, 0, false) &&
         registerClass(instance, kLanguageClass, languageWindowProc, CS_HREDRAW | CS_VREDRAW, true);
}

bool screenIsHighResolution() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi > 96;
}

void createControls(HWND parent, HINSTANCE instance, const std::vector<ControlPlan>& controls) {
  auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  for (const auto& c : controls) {
    HWND child = CreateWindowExW(c.exStyle, c.windowClass, c.text.c_str(),
                                 WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width, c.height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                 instance, nullptr);
    if (child) SendMessageW(child, WM_SETFONT, font, FALSE);
  }
}

HWND createPopup(const wchar_t* windowClass, const std::wstring& caption, int width, int height,
                 HINSTANCE instance, void* self) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, windowClass, caption.c_str(),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME, x, y, width, height,
                         nullptr, nullptr, instance, self);
}

void resizeCentred(HWND window, int width, int height) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void runWindowLoop(HWND window) {
  MSG message;
  while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace stelvane
