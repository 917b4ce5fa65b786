#include "i18n/ui/translate_controls.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <string>

#include "i18n/language.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

QButtonGroup* buttonGroupOf(const QWidget* control) {
  return control->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
}

std::string keyOf(std::string_view formName, const QObject* control) {
  std::string key(formName);
  key += ':';
  key += toUtf8(control->objectName());
  key += ':';
  return key;
}

void setCaption(QWidget* control, const QString& caption) {
  if (control->isWindow()) {
    control->setWindowTitle(caption);
  } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
    box->setTitle(caption);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(caption);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(caption);
  }
}

// The items replace the texts of the group's buttons in id order; buttons
// beyond the items are hidden (an empty field leaves no item shown).
void setItems(QWidget* group, const std::string& items) {
  QButtonGroup* buttons = buttonGroupOf(group);
  if (!buttons) return;
  QList<QAbstractButton*> list = buttons->buttons();
  std::sort(list.begin(), list.end(),
            [buttons](QAbstractButton* a, QAbstractButton* b) { return buttons->id(a) < buttons->id(b); });
  const std::vector<std::string> texts = splitRadioItems(items);
  for (qsizetype i = 0; i < list.size(); ++i) {
    const bool shown = static_cast<std::size_t>(i) < texts.size();
    if (shown) list[i]->setText(fromUtf8(texts[static_cast<std::size_t>(i)]));
    list[i]->setVisible(shown);
  }
}

}  // namespace

bool isRadioGroup(const QWidget* control) {
  return control->property("radioGroup").toBool() ||
         (qobject_cast<const QGroupBox*>(control) && buttonGroupOf(control));
}

void translateWindow(const LanguageTables& tables, std::string_view formName, QWidget* control) {
  if (!control || !tables.hasControlLines()) return;
  // Menus have their own walk.
  if (qobject_cast<QMenu*>(control) || qobject_cast<QMenuBar*>(control)) return;
  const bool radioGroup = isRadioGroup(control);
  if (!control->objectName().isEmpty()) {
    const ControlLine line = tables.findControlLine(keyOf(formName, control));
    if (line.found) {
      if (!line.caption.empty()) setCaption(control, fromUtf8(line.caption));
      if (!line.hint.empty()) control->setToolTip(fromUtf8(line.hint));
      if (radioGroup) setItems(control, line.items);
    }
  }
  const QButtonGroup* items = radioGroup ? buttonGroupOf(control) : nullptr;
  for (QObject* child : control->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget) continue;
    if (items && qobject_cast<QAbstractButton*>(widget) &&
        items->buttons().contains(static_cast<QAbstractButton*>(widget))) {
      continue;
    }
    translateWindow(tables, formName, widget);
  }
}

void translateMenuItem(const LanguageTables& tables, std::string_view formName, QAction* item) {
  if (!item || item->isSeparator()) return;
  const ControlLine line = tables.findControlLine(keyOf(formName, item));
  if (line.found) {
    item->setText(fromUtf8(line.caption));
    item->setStatusTip(fromUtf8(line.hint));
    item->setToolTip(fromUtf8(line.hint));
  }
  if (QMenu* sub = item->menu()) {
    for (QAction* a : sub->actions()) translateMenuItem(tables, formName, a);
  }
}

void translateMenu(const LanguageTables& tables, std::string_view formName, QWidget* menu) {
  if (!menu || !tables.hasControlLines()) return;
  for (QAction* a : menu->actions()) translateMenuItem(tables, formName, a);
}

}  // namespace lirno
