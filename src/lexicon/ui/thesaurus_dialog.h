#pragma once
// TfrmThesaurus, "Thesaurus": the editor of a thesaurus, one for the whole
// process. The window that edits fills it, runs it and reads its entries
// back (Windows-1252 lines, shown one byte per character).
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace lirno {

struct ThesaurusControls {
  QLineEdit* edWord = nullptr;
  QListWidget* lstWord = nullptr;  // sorted, several entries selectable
  QPushButton* btnAdd = nullptr;   // "&Ajouter"
  QPushButton* btnRepl = nullptr;  // "&Remplacer"
  QPushButton* btnDel = nullptr;   // "&Supprimer"
  QPushButton* btnSave = nullptr;  // "Sau&ver"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TfrmThesaurus : public QDialog {
  Q_OBJECT

 public:
  // The third way out, beside Accepted (OK) and Rejected (Annuler).
  static constexpr int Save = 2;

  explicit TfrmThesaurus(QWidget* parent = nullptr);

  ThesaurusControls ui;

  // Fills the box (which sorts the entries) and sets the state of a dialog
  // being shown: nothing typed, nothing changed.
  void fill(const std::vector<std::string>& entries);
  // The box's entries in its order.
  std::vector<std::string> entries() const;
  void clearEntries();

  // Runs the dialog modally and returns its result (Rejected, Accepted or
  // Save). Tests replace the modal loop with a runner that drives the
  // dialog and returns result().
  int run();
  using Runner = std::function<int(TfrmThesaurus&)>;
  void setRunner(Runner runner) { runner_ = std::move(runner); }

  bool changed() const { return changed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  QString typed() const;
  void edWordChanged();
  void lstWordClick();
  void btnAddClick();
  void btnReplClick();
  void btnDelClick();
  void btnOkClick();
  void markChanged();

  bool changed_ = false;
  Runner runner_;
};

}  // namespace lirno
