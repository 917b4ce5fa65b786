#pragma once
// The language in force for the whole process: the workbench's language
// tables behind the program's translate(), Qt's own texts (standard buttons,
// file dialogs) in the same language, and the dialogs translating
// themselves each time they are shown. One per workbench, its child.
#include <QObject>

#include <string>

class QTranslator;
class QWidget;

namespace lirno {

class LanguageTables;
class TfrmMain;
class Workbench;

class LanguageService : public QObject {
  Q_OBJECT

 public:
  explicit LanguageService(Workbench& workbench);
  ~LanguageService() override;

  static LanguageService* of(Workbench& workbench);

  // Load language file: true when the file is in force or could not be
  // opened (nothing changed); false, after the message naming it, when it
  // is not a language file.
  bool load(const std::string& path, QWidget* parent = nullptr);

  // The window's caption and controls, its main menu, popGrid and popText.
  void translateMainWindow(TfrmMain& window) const;
  // Every open main window.
  void translateMainWindows() const;

  // The shared dialogs translate themselves from now on whenever shown.
  void watchDialogs();

  // Qt's own texts for a language code ("fra", "eng", ...): French, the
  // language of the code where Qt has it, English otherwise. False when no
  // Qt translation was found (Qt's built-in English is used).
  bool applyQtLanguage(const std::string& code);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Workbench& workbench_;
  QTranslator* qtTranslator_ = nullptr;
  bool qtTranslatorInstalled_ = false;
};

}  // namespace lirno
