#include "i18n/ui/language_service.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QTableView>
#include <QTranslator>

#include "i18n/language.h"
#include "i18n/ui/translate_controls.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"

namespace lirno {

LanguageService::LanguageService(Workbench& workbench)
    : QObject(&workbench), workbench_(workbench), qtTranslator_(new QTranslator(this)) {
  setObjectName(QStringLiteral("languageService"));
  setTranslateHook([&tables = workbench.language()](std::string_view text) { return tables.translate(text); });
  applyQtLanguage(workbench.language().code());
}

LanguageService::~LanguageService() {
  setTranslateHook({});
  if (qtTranslatorInstalled_) QCoreApplication::removeTranslator(qtTranslator_);
}

LanguageService* LanguageService::of(Workbench& workbench) {
  return workbench.findChild<LanguageService*>(QString(), Qt::FindDirectChildrenOnly);
}

bool LanguageService::load(const std::string& path, QWidget* parent) {
  LanguageTables& tables = workbench_.language();
  switch (tables.load(path)) {
    case LanguageLoad::NotOpened:
      return true;
    case LanguageLoad::NotLanguageFile:
      showMessageAsIs(path + translate("\nn'est pas un fichier langue."), "Lirno", MessageKind::Warning,
                      parent);
      return false;
    case LanguageLoad::Loaded:
      break;
  }
  applyQtLanguage(tables.code());
  emit workbench_.languageChanged();
  return true;
}

void LanguageService::translateMainWindow(TfrmMain& window) const {
  const LanguageTables& tables = workbench_.language();
  const std::string form = toUtf8(window.objectName());
  translateWindow(tables, form, &window);
  // "Lirno - " and the path stay while a document is open.
  window.refreshDocumentCaption();
  translateMenu(tables, form, window.menuBar());
  translateMenu(tables, form, window.ui.popGrid);
  translateMenu(tables, form, window.ui.popText);
  // Grid titles are translated as they are drawn: the grids draw them anew.
  for (QTableView* grid : window.findChildren<QTableView*>()) {
    QAbstractItemModel* model = grid->model();
    if (model && model->columnCount() > 0) emit model->headerDataChanged(Qt::Horizontal, 0, model->columnCount() - 1);
  }
}

void LanguageService::translateMainWindows() const {
  for (TfrmMain* w : workbench_.windows()) translateMainWindow(*w);
}

void LanguageService::watchDialogs() {
  const SharedDialogs& d = workbench_.dialogs();
  for (QDialog* dialog : {d.frmFind, d.frmCorpus, d.frmThesaurus, d.frmWord, d.frmInfo, d.frmGenoa,
                          d.frmAddStr, d.frmResult, d.frmImage}) {
    if (dialog) dialog->installEventFilter(this);
  }
}

bool LanguageService::eventFilter(QObject* watched, QEvent* event) {
  // Show comes before the window is on the screen: it appears translated.
  if (event->type() == QEvent::Show) {
    if (auto* dialog = qobject_cast<QDialog*>(watched)) {
      translateWindow(workbench_.language(), toUtf8(dialog->objectName()), dialog);
    }
  }
  return QObject::eventFilter(watched, event);
}

bool LanguageService::applyQtLanguage(const std::string& code) {
  if (qtTranslatorInstalled_) {
    QCoreApplication::removeTranslator(qtTranslator_);
    qtTranslatorInstalled_ = false;
  }
  // Language files name their language by its three-letter code.
  const QLocale::Language language = QLocale::codeToLanguage(fromUtf8(code), QLocale::AnyLanguageCode);
  // Dates and names of the file dialogs too.
  QLocale::setDefault(QLocale(language == QLocale::AnyLanguage ? QLocale::English : language));
  if (language == QLocale::English || language == QLocale::AnyLanguage) return language == QLocale::English;
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!qtTranslator_->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
    return false;
  }
  qtTranslatorInstalled_ = QCoreApplication::installTranslator(qtTranslator_);
  return qtTranslatorInstalled_;
}

}  // namespace lirno
