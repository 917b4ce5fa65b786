#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "system_library.h"
#include "text.h"
#include "windows/language_window.h"
#include "windows/main_window.h"

namespace stelvane {
namespace {

// A control's rectangle in its parent's client pixels.
RECT childRect(HWND parent, int id) {
  RECT r = {-1, -1, -1, -1};
  HWND child = GetDlgItem(parent, id);
  if (!child) return r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void expectRect(HWND parent, int id, int x, int y, int width, int height) {
  const RECT r = childRect(parent, id);
  EXPECT_EQ(r.left, x) << "control " << id;
  EXPECT_EQ(r.top, y) << "control " << id;
  EXPECT_EQ(r.right - r.left, width) << "control " << id;
  EXPECT_EQ(r.bottom - r.top, height) << "control " << id;
}

int outerHeight(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

TEST(CommonControls, LoadedFromTheSystemFolderInVersionSix) {
  // The manifest's choice of version 6 (the side-by-side assembly) holds for
  // the library loaded at run time from the system folder.
  HMODULE module = systemLibrary(L"comctl32.dll");
  ASSERT_NE(module, nullptr);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  CharLowerW(path);
  const std::wstring file = path;
  EXPECT_NE(file.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
      << toUtf8(file);
}

const wchar_t kFullDialog[] =
    L"[DIALOGUE]\nTITRE=Installation de Lirno\nSUJET=Lirno %APPLI%\nT_VERSION_AVANT=Installée\n"
    L"T_VERSION_APRES=Nouvelle\nT_AVERTISSEMENT=Fermez les programmes\nT_REPERTOIRE=Dossier\n"
    L"T_BOUTON_PARCOURIR=Parcourir\nT_OPTION1=Icônes\nT_OPTION2=Exemples\nT_BOUTON_OK=OK\n"
    L"T_BOUTON_ESC=Annuler\nNLARGEURTEXTEEDIT=100\nNLARGEURSAISIEEDIT=300\n";

class Windows : public test::ScriptTest {
 protected:
  Windows() {
    installer.installFolder = L"C:\\Lirno";
    installer.installedVersion = L"2.9";
    installer.newVersion = L"2.10";
    installer.applicationName = L"Atelier";
  }
  MainWindow window{installer, [this](MainWindow&) { ++okPressed; }};
  int okPressed = 0;
};

TEST_F(Windows, MainWindowControlsSitOnTheirRows) {
  writeScript(kFullDialog);
  ASSERT_TRUE(window.create(false));
  HWND w = window.handle();
  const int L = 100, F = 300, R = 30;
  expectRect(w, kIdIcon, 6, 6, 32, 32);
  expectRect(w, kIdSubject, 48, 18, 300, R + 4);
  int y = R + 18;
  expectRect(w, kIdVersionBeforeLabel, 6, y, L, R + 4);
  expectRect(w, kIdVersionBefore, L + 7, y - 1, F, 18);
  y += R;
  expectRect(w, kIdVersionAfter, L + 7, y - 1, F, 18);
  y += R;
  expectRect(w, kIdWarning, 6, y, 482, 2 * R + 8);
  y += R + R / 2;
  expectRect(w, kIdFolderLabel, 6, y, L, R + 4);
  expectRect(w, kIdFolder, L + 7, y - 3, F - 92, 22);
  expectRect(w, kCmdBrowse, F + L - 83, y - 3, 90, 24);
  y += R;
  expectRect(w, kIdOption1Text, 26, y, 459, 2 * R + 8);
  expectRect(w, kIdOption1, 6, y, 16, 16);
  y += R;
  expectRect(w, kIdOption2, 6, y, 16, 16);
  y += R;
  expectRect(w, kCmdOk, 154, y + R, 90, 24);
  expectRect(w, kCmdCancel, 250, y + R, 90, 24);
  EXPECT_EQ(outerHeight(w), 340 + R);

  RECT client;
  GetClientRect(w, &client);
  const int B = client.bottom;
  expectRect(w, kIdStatusStrip, 0, B - 22, 499, 23);
  expectRect(w, kIdStatusField, 168, B - 20, 326, 20);
  expectRect(w, kIdProgress, 0, B - 20, 166, 20);

  wchar_t text[64];
  GetDlgItemTextW(w, kIdSubject, text, 64);
  EXPECT_STREQ(text, L"Lirno Atelier");  // labels are expanded
  GetDlgItemTextW(w, kIdVersionAfter, text, 64);
  EXPECT_STREQ(text, L"2.10");
  EXPECT_TRUE(window.optionChecked(1));
  EXPECT_TRUE(window.optionChecked(2));
  EXPECT_EQ(GetFocus(), GetDlgItem(w, kCmdOk));
}

TEST_F(Windows, MissingTextsLeaveTheirRowsOut) {
  writeScript(
      L"[DIALOGUE]\nTITRE=Installation\nT_REPERTOIRE=Dossier\nT_OPTION1=Icônes\nT_BOUTON_OK=OK\n");
  ASSERT_TRUE(window.create(false));
  HWND w = window.handle();
  const int R = 30;
  // No version rows: everything moves up two rows and the window is 2R shorter
  // (and R more for the missing second option).
  int y = R + 18 + R + R / 2;
  expectRect(w, kIdFolderLabel, 6, y, 240, R + 4);
  expectRect(w, kIdFolder, 247, y - 1, 240, 18);  // read-only without the browse button
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(w, kIdFolder), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(GetDlgItem(w, kCmdBrowse), nullptr);
  EXPECT_EQ(GetDlgItem(w, kIdSubject), nullptr);
  EXPECT_EQ(GetDlgItem(w, kIdVersionBefore), nullptr);
  EXPECT_EQ(GetDlgItem(w, kCmdCancel), nullptr);
  y += 2 * R;
  expectRect(w, kCmdOk, 154, y + R, 90, 24);
  EXPECT_EQ(outerHeight(w), 340 - 3 * R + R);
  EXPECT_EQ(window.folderText(), L"C:\\Lirno");
}

TEST_F(Windows, HighResolutionRowsAreFortyPixelsApart) {
  writeScript(kFullDialog);
  ASSERT_TRUE(window.create(true));
  HWND w = window.handle();
  const int R = 40;
  expectRect(w, kIdVersionBeforeLabel, 6, R + 18, 100, R + 4);
  expectRect(w, kIdVersionAfterLabel, 6, 2 * R + 18, 100, R + 4);
  expectRect(w, kCmdOk, 154, R + 18 + 2 * R + R + R / 2 + 3 * R + R, 90, 24);
  EXPECT_EQ(outerHeight(w), 420 + R);
}

TEST_F(Windows, ProgressShowsTextPercentageAndBar) {
  writeScript(kFullDialog);
  ASSERT_TRUE(window.create(false));
  HWND bar = GetDlgItem(window.handle(), kIdProgress);
  window.progress(L"lirno.exe", 3, 12);
  EXPECT_EQ(window.statusText(), L"lirno.exe");
  EXPECT_EQ(window.statusPercent(), L" 25 %");
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 12);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 3);
  window.progress(L"Préparation", 0, 0);
  EXPECT_EQ(window.statusPercent(), L"");
  EXPECT_EQ(window.statusText(), L"Préparation");
  EXPECT_EQ(progressPercent(12, 12), L"100 %");
}

TEST_F(Windows, WhileBusyCloseIsRefusedAndCancelOnlyAsksToStop) {
  writeScript(std::wstring(kFullDialog) + L"ESC_ACTIF=O\n");
  ASSERT_TRUE(window.create(false));
  HWND w = window.handle();
  installer.busy = true;
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w));
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kCmdCancel, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_TRUE(installer.stopRequested);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kCmdOk, BN_CLICKED), 0);
  EXPECT_EQ(okPressed, 0);

  installer.busy = false;
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kCmdOk, BN_CLICKED), 0);
  EXPECT_EQ(okPressed, 1);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kCmdCancel, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Windows, CancelCannotStopWhenEscActifIsN) {
  writeScript(std::wstring(kFullDialog) + L"ESC_ACTIF=n\n");
  ASSERT_TRUE(window.create(false));
  EXPECT_FALSE(window.texts().cancelWhileBusy);
  installer.busy = true;
  SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(kCmdCancel, BN_CLICKED), 0);
  EXPECT_FALSE(installer.stopRequested);
  EXPECT_TRUE(IsWindow(window.handle()));
  installer.busy = false;
}

TEST_F(Windows, LanguageWindowLayoutAndChoice) {
  writeScript(
      L"[LANGUE]\nTITRE=Langue\nSUJET=Choisissez\nT_VERSION_AVANT=Langue :\nT_BOUTON_OK=OK\n"
      L"T_BOUTON_ESC=Annuler\nNLARGEURTEXTEEDIT=0\n");
  LanguageWindow chooser(installer.instance, installer.scriptPath, {L"Français", L"English"});
  ASSERT_TRUE(chooser.create(false));
  HWND w = chooser.handle();
  const int R = 30;
  int y = R + 10;
  expectRect(w, kIdLangSubject, 12, 10, 300, R + 4);
  expectRect(w, kIdLangLabel, 6, y, 6, R + 4);  // 0 keeps the default width 6
  const RECT list = childRect(w, kIdLangList);
  EXPECT_EQ(list.left, 13);
  EXPECT_EQ(list.top, y - 1);
  EXPECT_EQ(list.right - list.left, 470);
  y += R;
  expectRect(w, kLangOk, 154, y, 90, 24);
  expectRect(w, kLangCancel, 250, y, 90, 24);
  y += R + 10;
  EXPECT_EQ(outerHeight(w), y + 20);
  EXPECT_EQ(SendDlgItemMessageW(w, kIdLangList, CB_GETCURSEL, 0, 0), 0);

  SendDlgItemMessageW(w, kIdLangList, CB_SETCURSEL, 1, 0);
  PostMessageW(w, WM_COMMAND, MAKEWPARAM(kLangOk, BN_CLICKED), 0);
  EXPECT_EQ(chooser.run(), 2);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Windows, LanguageWindowCancelChoosesNothing) {
  writeScript(L"[LANGUE]\nT_BOUTON_OK=OK\nT_BOUTON_ESC=Annuler\n");
  LanguageWindow chooser(installer.instance, installer.scriptPath, {L"Français", L"English"});
  ASSERT_TRUE(chooser.create(true));
  expectRect(chooser.handle(), kLangOk, 154, 10 + 40, 90, 24);
  PostMessageW(chooser.handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(chooser.run(), 0);
}

}  // namespace
}  // namespace stelvane
