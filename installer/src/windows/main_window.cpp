#include "main_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include "../installer.h"
#include "../macros.h"
#include "../profile.h"

namespace stelvane {

namespace {

constexpr int kWidth = 500;

// A width from the script; 0 or non-numeric keeps the default.
int widthValue(const Installer& installer, const wchar_t* key, int defaultValue) {
  const int value = GetPrivateProfileIntW(
      localizedSection(L"DIALOGUE", installer.languageSuffix).c_str(), key, 0,
      installer.scriptPath.c_str());
  return value > 0 ? value : defaultValue;
}

ControlPlan control(int id, const wchar_t* windowClass, std::wstring text, DWORD style, int x, int y,
                    int width, int height, DWORD exStyle = 0) {
  return ControlPlan{id, windowClass, std::move(text), style, exStyle, x, y, width, height};
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  } else if (message == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path))
      SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

}  // namespace

MainTexts readMainTexts(const Installer& installer) {
  MainTexts t;
  auto raw = [&](const wchar_t* key) { return readLocalized(installer, L"DIALOGUE", key); };
  auto label = [&](const wchar_t* key) { return expandMessage(installer, raw(key)); };
  t.caption = raw(L"TITRE");
  t.subject = label(L"SUJET");
  t.versionBefore = label(L"T_VERSION_AVANT");
  t.versionAfter = label(L"T_VERSION_APRES");
  t.warning = label(L"T_AVERTISSEMENT");
  t.folderLabel = label(L"T_REPERTOIRE");
  t.browse = raw(L"T_BOUTON_PARCOURIR");
  t.browseTitle = raw(L"T_TITRE_PARCOURIR");
  t.option1 = label(L"T_OPTION1");
  t.option2 = label(L"T_OPTION2");
  t.ok = raw(L"T_BOUTON_OK");
  t.cancel = raw(L"T_BOUTON_ESC");
  t.labelWidth = widthValue(installer, L"NLARGEURTEXTEEDIT", 240);
  t.fieldWidth = widthValue(installer, L"NLARGEURSAISIEEDIT", 240);
  const std::wstring esc = readLocalized(installer, L"DIALOGUE", L"ESC_ACTIF", L"N");
  t.cancelWhileBusy = !(esc.size() == 1 && (esc[0] == L'N' || esc[0] == L'n'));
  return t;
}

MainPlan planMainWindow(const MainTexts& t, const Installer& installer, bool highResolution) {
  MainPlan plan;
  const int R = highResolution ? 40 : 30;
  int H = highResolution ? 420 : 340;
  const int L = t.labelWidth;
  const int F = t.fieldWidth;
  plan.rowHeight = R;
  auto& c = plan.controls;
  const DWORD readOnly = ES_READONLY | ES_AUTOHSCROLL;

  c.push_back(control(kIdIcon, kIconClass, L"", 0, 6, 6, 32, 32));
  if (!t.subject.empty()) c.push_back(control(kIdSubject, L"STATIC", t.subject, SS_LEFT, 48, 18, 300, R + 4));

  int y = R + 18;
  const struct {
    const std::wstring& label;
    const std::wstring& value;
    int labelId, fieldId;
  } versions[] = {
      {t.versionBefore, installer.installedVersion, kIdVersionBeforeLabel, kIdVersionBefore},
      {t.versionAfter, installer.newVersion, kIdVersionAfterLabel, kIdVersionAfter},
  };
  for (const auto& v : versions) {
    if (v.label.empty()) {
      H -= R;
      continue;
    }
    c.push_back(control(v.labelId, L"STATIC", v.label, SS_LEFT, 6, y, L, R + 4));
    c.push_back(control(v.fieldId, L"EDIT", v.value, readOnly, L + 7, y - 1, F, 18, WS_EX_STATICEDGE));
    y += R;
  }

  if (!t.warning.empty())
    c.push_back(control(kIdWarning, L"STATIC", t.warning, SS_LEFT, 6, y, 482, 2 * R + 8));
  y += R + R / 2;

  if (!t.folderLabel.empty())
    c.push_back(control(kIdFolderLabel, L"STATIC", t.folderLabel, SS_LEFT, 6, y, L, R + 4));
  if (!t.browse.empty()) {
    c.push_back(control(kIdFolder, L"EDIT", installer.installFolder, ES_AUTOHSCROLL | WS_TABSTOP,
                        L + 7, y - 3, F - 92, 22, WS_EX_CLIENTEDGE));
    c.push_back(control(kCmdBrowse, L"BUTTON", t.browse, BS_PUSHBUTTON | WS_TABSTOP, F + L - 83,
                        y - 3, 90, 24));
  } else {
    c.push_back(control(kIdFolder, L"EDIT", installer.installFolder, readOnly, L + 7, y - 1, F, 18,
                        WS_EX_STATICEDGE));
  }
  y += R;

  const struct {
    const std::wstring& text;
    int textId, boxId;
  } options[] = {{t.option1, kIdOption1Text, kIdOption1}, {t.option2, kIdOption2Text, kIdOption2}};
  for (const auto& o : options) {
    if (o.text.empty()) {
      H -= R;
      continue;
    }
    c.push_back(control(o.textId, L"STATIC", o.text, SS_LEFT, 26, y, 459, 2 * R + 8));
    c.push_back(control(o.boxId, L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP, 6, y, 16, 16));
    y += R;
  }

  if (!t.ok.empty())
    c.push_back(control(kCmdOk, L"BUTTON", t.ok, BS_DEFPUSHBUTTON | WS_TABSTOP, 154, y + R, 90, 24));
  if (!t.cancel.empty())
    c.push_back(control(kCmdCancel, L"BUTTON", t.cancel, BS_PUSHBUTTON | WS_TABSTOP, 250, y + R, 90, 24));

  plan.height = H + R;
  return plan;
}

std::wstring progressPercent(int position, int total) {
  if (total == 0) return {};
  wchar_t text[32];
  swprintf(text, ARRAYSIZE(text), L"%3i %%", static_cast<int>(static_cast<long long>(position) * 100 / total));
  return text;
}

MainWindow::MainWindow(Installer& installer, std::function<void(MainWindow&)> onOk)
    : installer_(installer), onOk_(std::move(onOk)) {}

MainWindow::~MainWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (installer_.window == this) installer_.window = nullptr;
}

bool MainWindow::create(bool highResolution) {
  registerWindowClasses(installer_.instance);
  texts_ = readMainTexts(installer_);
  const MainPlan plan = planMainWindow(texts_, installer_, highResolution);
  const int initialHeight = highResolution ? 420 : 340;
  window_ = createPopup(kMainClass, texts_.caption, kWidth, initialHeight, installer_.instance, this);
  if (!window_) return false;
  installer_.window = this;
  createControls(window_, installer_.instance, plan.controls);
  CheckDlgButton(window_, kIdOption1, BST_CHECKED);
  CheckDlgButton(window_, kIdOption2, BST_CHECKED);
  resizeCentred(window_, kWidth, plan.height);
  placeStatusLine();
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  HWND ok = GetDlgItem(window_, kCmdOk);
  SetFocus(ok ? ok : window_);
  return true;
}

void MainWindow::placeStatusLine() {
  RECT client;
  GetClientRect(window_, &client);
  const int B = client.bottom;
  std::vector<ControlPlan> status = {
      control(kIdStatusStrip, L"STATIC", L"", SS_SUNKEN | WS_CLIPSIBLINGS, 0, B - 22, 499, 23),
      control(kIdStatusField, L"STATIC", L"", SS_OWNERDRAW, 168, B - 20, 326, 20),
      control(kIdProgress, PROGRESS_CLASSW, L"", 0, 0, B - 20, 166, 20),
  };
  createControls(window_, installer_.instance, status);
  // The strip lies under the field and the bar.
  SetWindowPos(GetDlgItem(window_, kIdStatusStrip), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::run() { runWindowLoop(window_); }

void MainWindow::progress(std::wstring_view text, int position, int total) {
  statusText_.assign(text.substr(0, 259));
  statusPercent_ = progressPercent(position, total);
  if (!window_) return;
  HWND bar = GetDlgItem(window_, kIdProgress);
  SendMessageW(bar, PBM_SETRANGE32, 0, total);
  SendMessageW(bar, PBM_SETPOS, position, 0);
  InvalidateRect(GetDlgItem(window_, kIdStatusField), nullptr, FALSE);
  UpdateWindow(window_);
}

void MainWindow::drawStatus(const DRAWITEMSTRUCT& item) {
  // The field starts at x = 168, y = B - 20 of the client area; the text band
  // is x = 219 .. right edge - 2 and the percentage x = 172 .. 211, both
  // between B - 19 and B - 1.
  RECT field;
  GetClientRect(item.hwndItem, &field);
  HDC dc = item.hDC;
  FillRect(dc, &field, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &field, BDR_SUNKENOUTER, BF_RECT);
  RECT client;
  GetClientRect(window_, &client);
  const int left = 168;
  RECT textBand = {219 - left, 1, client.right - 2 - left, 19};
  RECT percentBand = {172 - left, 1, 211 - left, 19};
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, statusText_.c_str(), static_cast<int>(statusText_.size()), &textBand,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (!statusPercent_.empty())
    DrawTextW(dc, statusPercent_.c_str(), static_cast<int>(statusPercent_.size()), &percentBand,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

std::wstring MainWindow::folderText() const {
  wchar_t text[MAX_PATH + 1] = {};
  GetDlgItemTextW(window_, kIdFolder, text, MAX_PATH);  // at most 260 characters
  return text;
}

bool MainWindow::optionChecked(int option) const {
  return IsDlgButtonChecked(window_, option == 1 ? kIdOption1 : kIdOption2) == BST_CHECKED;
}

void MainWindow::enableInstallControls(bool enabled) {
  for (int id : {int(kCmdOk), int(kIdOption1), int(kIdOption2)})
    if (HWND c = GetDlgItem(window_, id)) EnableWindow(c, enabled);
}

void MainWindow::enableCancel(bool enabled) {
  if (HWND c = GetDlgItem(window_, kCmdCancel)) EnableWindow(c, enabled);
}

void MainWindow::close() {
  if (window_) DestroyWindow(window_);
}

void MainWindow::browse() {
  wchar_t current[MAX_PATH + 2] = {};
  GetDlgItemTextW(window_, kIdFolder, current, MAX_PATH + 1);  // at most 261 characters
  BROWSEINFOW info = {};
  info.hwndOwner = window_;
  info.lpszTitle = texts_.browseTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT;
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(current);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return;
  wchar_t path[MAX_PATH + 1] = {};
  if (SHGetPathFromIDListW(chosen, path)) {
    installer_.installFolder = path;
    SetDlgItemTextW(window_, kIdFolder, path);
  }
  CoTaskMemFree(chosen);
}

void MainWindow::onCommand(int id) {
  switch (id) {
    case kCmdOk:
      if (!installer_.busy && onOk_) onOk_(*this);
      break;
    case kCmdCancel:
      // While busy Cancel only asks to stop, and only where the script allows it.
      if (installer_.busy)
        installer_.stopRequested = installer_.stopRequested || texts_.cancelWhileBusy;
      else
        SendMessageW(window_, WM_CLOSE, 0, 0);
      break;
    case kCmdBrowse:
      if (!installer_.busy) browse();
      break;
  }
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || lParam == 0) onCommand(LOWORD(wParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == kIdStatusField) {
        drawStatus(*item);
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      if (installer_.busy) {
        MessageBeep(MB_OK);
        return 0;
      }
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      if (installer_.window == this) installer_.window = nullptr;
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowObjectProc<MainWindow>(window, message, wParam, lParam);
}

}  // namespace stelvane
