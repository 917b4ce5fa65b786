#include "i18n/ui/control_survey.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <algorithm>

#include "i18n/language.h"
#include "i18n/ui/translate_controls.h"

namespace lirno::testing {
namespace {

std::string utf8(const QString& s) { return s.toStdString(); }

bool hasLetter(const QString& s) {
  return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetter(); });
}

QString captionOf(QWidget* w) {
  if (w->isWindow()) return w->windowTitle();
  if (auto* box = qobject_cast<QGroupBox*>(w)) return box->title();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  return {};
}

void surveyWidget(const std::string& form, QWidget* w, std::vector<VisibleText>& out) {
  if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)) return;
  if (w->objectName().startsWith(QStringLiteral("qt_"))) return;
  VisibleText v;
  v.form = form;
  v.name = utf8(w->objectName());
  v.widget = w;
  const QString caption = captionOf(w);
  if (hasLetter(caption)) v.caption = utf8(caption);
  v.hint = utf8(w->toolTip());
  QList<QAbstractButton*> items;
  if (isRadioGroup(w)) {
    v.radioGroup = true;
    if (auto* group = w->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly)) {
      items = group->buttons();
      std::sort(items.begin(), items.end(),
                [group](QAbstractButton* a, QAbstractButton* b) { return group->id(a) < group->id(b); });
    }
    for (QAbstractButton* b : items) v.items.push_back(utf8(b->text()));
  }
  if (!v.caption.empty() || !v.hint.empty() || !v.items.empty()) out.push_back(v);
  for (QObject* child : w->children()) {
    auto* cw = qobject_cast<QWidget*>(child);
    if (!cw) continue;
    if (items.contains(qobject_cast<QAbstractButton*>(cw))) continue;
    surveyWidget(form, cw, out);
  }
}

void surveyAction(const std::string& form, QAction* a, std::vector<VisibleText>& out) {
  if (a->isSeparator()) return;
  VisibleText v;
  v.form = form;
  v.name = utf8(a->objectName());
  v.action = a;
  v.caption = utf8(a->text());
  v.hint = utf8(a->statusTip());
  out.push_back(v);
  if (QMenu* sub = a->menu()) {
    for (QAction* s : sub->actions()) surveyAction(form, s, out);
  }
}

}  // namespace

std::string VisibleText::line() const {
  std::string l = key() + "\"" + escapeLanguageText(caption) + "\":\"" + escapeLanguageText(hint) + "\"";
  if (radioGroup) {
    l += ":\"";
    for (std::size_t i = 0; i < items.size(); ++i) l += (i ? "\\r\\n" : "") + items[i];
    l += "\"";
  }
  return l;
}

std::vector<VisibleText> surveyForm(QWidget* form, const std::vector<QWidget*>& menus) {
  std::vector<VisibleText> out;
  const std::string name = utf8(form->objectName());
  surveyWidget(name, form, out);
  for (QWidget* m : menus) {
    for (QAction* a : m->actions()) surveyAction(name, a, out);
  }
  return out;
}

QString withoutMnemonic(const QString& caption) {
  QString s = caption;
  s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  s.remove(QLatin1Char('&'));
  s.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return s;
}

}  // namespace lirno::testing
