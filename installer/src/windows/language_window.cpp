#include "language_window.h"

#include "../profile.h"

namespace stelvane {

namespace {

int widthValue(const std::wstring& script, const wchar_t* key, int defaultValue) {
  const int value = GetPrivateProfileIntW(L"LANGUE", key, 0, script.c_str());
  return value > 0 ? value : defaultValue;
}

}  // namespace

LanguagePlan planLanguageWindow(const std::wstring& script, const std::vector<std::wstring>& labels,
                                bool highResolution) {
  LanguagePlan plan;
  const int R = highResolution ? 40 : 30;
  plan.initialHeight = highResolution ? 120 : 110;
  const int L = widthValue(script, L"NLARGEURTEXTEEDIT", 6);
  const int F = widthValue(script, L"NLARGEURSAISIEEDIT", 470);
  auto text = [&](const wchar_t* key) { return readProfile(script, L"LANGUE", key); };
  auto& c = plan.controls;

  int y = 10;
  if (const std::wstring subject = text(L"SUJET"); !subject.empty()) {
    c.push_back({kIdLangSubject, L"STATIC", subject, SS_LEFT, 0, 12, 10, 300, R + 4});
    y = R + 10;
  }
  if (const std::wstring label = text(L"T_VERSION_AVANT"); !label.empty())
    c.push_back({kIdLangLabel, L"STATIC", label, SS_LEFT, 0, 6, y, L, R + 4});
  if (!labels.empty()) {
    c.push_back({kIdLangList, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, L + 7,
                 y - 1, F, 54});
    y += R;
  }
  if (const std::wstring ok = text(L"T_BOUTON_OK"); !ok.empty())
    c.push_back({kLangOk, L"BUTTON", ok, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 154, y, 90, 24});
  if (const std::wstring cancel = text(L"T_BOUTON_ESC"); !cancel.empty()) {
    c.push_back({kLangCancel, L"BUTTON", cancel, BS_PUSHBUTTON | WS_TABSTOP, 0, 250, y, 90, 24});
    y += R + 10;
  }
  plan.height = y + 20;
  return plan;
}

LanguageWindow::LanguageWindow(HINSTANCE instance, const std::wstring& script,
                               std::vector<std::wstring> labels)
    : instance_(instance), script_(script), labels_(std::move(labels)) {}

LanguageWindow::~LanguageWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool LanguageWindow::create(bool highResolution) {
  registerWindowClasses(instance_);
  const LanguagePlan plan = planLanguageWindow(script_, labels_, highResolution);
  window_ = createPopup(kLanguageClass, readProfile(script_, L"LANGUE", L"TITRE"), plan.width,
                        plan.initialHeight, instance_, this);
  if (!window_) return false;
  createControls(window_, instance_, plan.controls);
  HWND list = GetDlgItem(window_, kIdLangList);
  for (const auto& label : labels_)
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
  SendMessageW(list, CB_SETCURSEL, 0, 0);
  resizeCentred(window_, plan.width, plan.height);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  HWND ok = GetDlgItem(window_, kLangOk);
  SetFocus(ok ? ok : window_);
  return true;
}

int LanguageWindow::run() {
  runWindowLoop(window_);
  return chosen_;
}

LRESULT LanguageWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kLangOk && (HIWORD(wParam) == BN_CLICKED || lParam == 0)) {
        const LRESULT selected = SendDlgItemMessageW(window_, kIdLangList, CB_GETCURSEL, 0, 0);
        chosen_ = selected == CB_ERR ? 0 : static_cast<int>(selected) + 1;
        DestroyWindow(window_);
      } else if (LOWORD(wParam) == kLangCancel && (HIWORD(wParam) == BN_CLICKED || lParam == 0)) {
        chosen_ = 0;
        DestroyWindow(window_);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK languageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowObjectProc<LanguageWindow>(window, message, wParam, lParam);
}

int pickLanguage(HINSTANCE instance, const std::wstring& script,
                 const std::vector<std::wstring>& labels) {
  LanguageWindow window(instance, script, labels);
  if (!window.create(screenIsHighResolution())) return 0;
  return window.run();
}

}  // namespace stelvane
