#pragma once
// TfrmCorpus, "Corpus": the editor of a corpus, one for the whole process.
// Its entries are document paths (UTF-8); files are added through its open
// dialog.
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace lirno {

struct CorpusControls {
  QListWidget* lstWord = nullptr;  // sorted, several entries selectable
  QPushButton* btnAdd = nullptr;   // "&Ajouter"
  QPushButton* btnDel = nullptr;   // "&Supprimer"
  QPushButton* btnSave = nullptr;  // "Sau&ver"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TfrmCorpus : public QDialog {
  Q_OBJECT

 public:
  static constexpr int Save = 2;  // beside Accepted (OK) and Rejected (Annuler)
  // OpenDialog's filter.
  static constexpr const char* kDocumentFilter =
      "Rich text files (*.rft)|*.rtf|Text files (*.txt)|*.txt|Any files (*.*)|*.*";

  explicit TfrmCorpus(QWidget* parent = nullptr);

  CorpusControls ui;

  // Fills the box (sorted) and sets the state of a dialog being shown;
  // `documentFolder` is where OpenDialog starts.
  void fill(const std::vector<std::string>& paths, const std::string& documentFolder);
  std::vector<std::string> entries() const;
  void clearEntries();
  const std::string& documentFolder() const { return documentFolder_; }

  // Runs the dialog modally: Rejected, Accepted or Save. Tests replace the
  // modal loop with a runner that drives the dialog and returns result().
  int run();
  using Runner = std::function<int(TfrmCorpus&)>;
  void setRunner(Runner runner) { runner_ = std::move(runner); }

  bool changed() const { return changed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  void btnAddClick();
  void btnDelClick();
  void markChanged();
  void enableDelete();

  bool changed_ = false;
  std::string documentFolder_;
  Runner runner_;
};

}  // namespace lirno
