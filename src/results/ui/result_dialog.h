#pragma once
// TfrmResult, "Résultat": the export dialog, one for the whole process. Its
// controls keep their states from one export to the next; the window that
// exports sets the extract kind before each use and reads the options back.
#include <QDialog>

#include <functional>
#include <string>

#include "results/report.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace lirno {

struct ResultControls {
  QLineEdit* edFile = nullptr;
  QPushButton* btnFile = nullptr;  // "..."
  QCheckBox* chkContext = nullptr;  // "Informations"
  QCheckBox* chkTarget = nullptr;   // "Liste"
  QCheckBox* chkTargRef = nullptr;  // "Références" of the list
  QCheckBox* chkApend = nullptr;    // "Ajouter au fichier"
  QGroupBox* pnlExtrait = nullptr;  // "Extraits": Aucun, Mots, Phrases, Paragraphes
  QButtonGroup* extractKinds = nullptr;
  QGroupBox* pnlExtMode = nullptr;  // "Présentation": grouped or detailed
  QButtonGroup* extractModes = nullptr;
  QCheckBox* chkExtRef = nullptr;     // "Références" of the extracts
  QCheckBox* chkExtBalise = nullptr;  // "Balises"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TfrmResult : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kFilter = "Text file (*.txt)|*.txt|Any file (*.*)|*.*";

  explicit TfrmResult(QWidget* parent = nullptr);

  ResultControls ui;

  // The French texts of every control (the language file's control lines
  // replace them when shown).
  void setCaptions();

  // "Aucun" 0 .. "Paragraphes" 3.
  void setExtractKind(int kind);
  int extractKind() const;
  // The options as the report writer takes them.
  ReportOptions options() const;
  // The trimmed file name (UTF-8).
  std::string fileName() const;

  // Runs the dialog modally (captions translated, enabling brought up to
  // date) and returns Accepted or Rejected. Tests replace the modal loop
  // with a runner that drives the dialog and returns result().
  int run();
  using Runner = std::function<int(TfrmResult&)>;
  void setRunner(Runner runner) { runner_ = std::move(runner); }

  // The save dialog of "..."; returns the chosen path (UTF-8) or nothing.
  // Tests replace it.
  using FileChooser = std::function<std::string(QWidget* parent, const std::string& folder,
                                                const std::string& proposed)>;
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
  // Where the save dialog opens while the field names no file (UTF-8).
  void setInitialFolder(std::string folder) { folder_ = std::move(folder); }

  // Brings the enabling of OK and the three dependent check boxes up to date.
  void updateEnabling();

 private:
  void buildLayout();
  void btnFileClick();

  Runner runner_;
  FileChooser chooser_;
  std::string folder_;
};

}  // namespace lirno
