#pragma once
// TfrmAddStr, "Ajouter une chaîne": a string to add in the variant dialog,
// typed in upper case (32 characters at most) with its place. One dialog
// for the whole process.
#include <QDialog>

#include <functional>
#include <string>

#include "search/ui/find_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lirno {

struct AddStrControls {
  QLineEdit* edWord = nullptr;
  RadioGroup pnlPlace;               // "Position"
  QCheckBox* chkExclude = nullptr;  // "Exclure": never enabled
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TfrmAddStr : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxLength = 32;

  explicit TfrmAddStr(QWidget* parent = nullptr);

  AddStrControls ui;

  void setCaptions();
  // The field emptied, the place back to "Indifférente".
  void clear();
  // The typed text, trimmed (Windows-1252).
  std::string text() const;
  int place() const;

  // Runs the dialog modally; tests replace the modal loop.
  int run();
  using Runner = std::function<int(TfrmAddStr&)>;
  void setRunner(Runner runner) { runner_ = std::move(runner); }

 private:
  void upperCaseTyped();

  Runner runner_;
};

}  // namespace lirno
