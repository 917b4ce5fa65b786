#pragma once
// What a form shows the user: every named widget and menu item with a
// caption, hint or radio items, as a language file's control line would
// name it. Shared by the language tests.
#include <QAction>
#include <QWidget>

#include <string>
#include <vector>

namespace lirno::testing {

struct VisibleText {
  std::string form;
  std::string name;  // objectName; empty: the control cannot be addressed
  std::string caption;
  std::string hint;
  std::vector<std::string> items;  // a radio group's
  bool radioGroup = false;
  QWidget* widget = nullptr;  // or
  QAction* action = nullptr;
  std::string key() const { return form + ":" + name + ":"; }
  // The control line with the texts shown now.
  std::string line() const;
};

// The form itself, its controls (children of radio groups that are their
// buttons as items), and for a main window its menus and pop-ups.
std::vector<VisibleText> surveyForm(QWidget* form, const std::vector<QWidget*>& menus = {});

// A caption as the user reads it: without the mnemonic "&".
QString withoutMnemonic(const QString& caption);

}  // namespace lirno::testing
