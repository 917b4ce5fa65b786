// The language window ("AMORCE_CHOIX"): the labels of [LANGUE] in a drop-down
// list with OK and Cancel. Its texts come from [LANGUE] (not localized).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window_classes.h"

namespace stelvane {

struct Installer;

enum LanguageControl : int {
  kLangOk = 1,
  kLangCancel = 2,
  kIdLangSubject = 100,
  kIdLangLabel,
  kIdLangList,
};

struct LanguagePlan {
  int width = 500;
  int initialHeight = 110;
  int height = 0;  // outer height: y + 20
  std::vector<ControlPlan> controls;
};
LanguagePlan planLanguageWindow(const std::wstring& script, const std::vector<std::wstring>& labels,
                                bool highResolution);

class LanguageWindow {
 public:
  LanguageWindow(HINSTANCE instance, const std::wstring& script, std::vector<std::wstring> labels);
  ~LanguageWindow();
  LanguageWindow(const LanguageWindow&) = delete;
  LanguageWindow& operator=(const LanguageWindow&) = delete;

  bool create(bool highResolution);
  HWND handle() const { return window_; }
  // Runs the message loop until the window closes; the chosen 1-based
  // position, or 0 when cancelled or closed.
  int run();
  int chosen() const { return chosen_; }

 private:
  template <typename T>
  friend LRESULT windowObjectProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  std::wstring script_;
  std::vector<std::wstring> labels_;
  HWND window_ = nullptr;
  int chosen_ = 0;
};

// Shows the language window and returns the chosen position (0: cancelled).
int pickLanguage(HINSTANCE instance, const std::wstring& script,
                 const std::vector<std::wstring>& labels);

}  // namespace stelvane
