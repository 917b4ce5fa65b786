#pragma once
// Applies a language file's control lines to widgets and menus. Controls are
// addressed by form name and objectName: "frmFind:btnAdd:".
#include <string_view>

class QAction;
class QWidget;

namespace lirno {

class LanguageTables;

// Caption, hint and (for a radio group) items of `control` from its line;
// then, for a widget holding children, the same for each child in order.
// The buttons of a radio group are its items and are not visited; other
// controls inside it are. Nothing happens without control lines.
void translateWindow(const LanguageTables& tables, std::string_view formName, QWidget* control);

// Caption and hint of a menu item from its line, even when empty, then of
// its sub-items. `menu` is a menu bar or a pop-up menu: the root, whose key
// is the form name and two colons, is shown by no caption of its own.
void translateMenu(const LanguageTables& tables, std::string_view formName, QWidget* menu);
void translateMenuItem(const LanguageTables& tables, std::string_view formName, QAction* item);

// A radio group: a group box holding a QButtonGroup (or flagged with the
// property "radioGroup"); its items are the group's buttons by id.
bool isRadioGroup(const QWidget* control);

}  // namespace lirno
