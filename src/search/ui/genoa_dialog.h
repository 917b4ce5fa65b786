#pragma once
// TfrmGenoa, "Genor": the review of a search's strings once their variants
// are generated. While shown it edits the search-string list in place (the
// box lstWord stands entry for entry for the list): variants and strings
// added here can be removed, strings added, the list saved as a thesaurus.
// One dialog for the whole process.
#include <QDialog>

#include <functional>
#include <string>

#include "search/request.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace lirno {

class TfrmAddStr;

struct GenoaControls {
  QListWidget* lstWord = nullptr;
  QLabel* lblOccurences = nullptr;  // "Occurences :"
  QLabel* lblCount = nullptr;
  QPushButton* btnDel = nullptr;      // "&Supprimer"
  QPushButton* btnSort = nullptr;     // "&Tri inverse"
  QPushButton* btnAdd = nullptr;      // "&Ajouter"
  QPushButton* btnSave = nullptr;     // "Sau&ver"
  QPushButton* btnAppend = nullptr;   // "&Rajouter"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TfrmGenoa : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kFilter = "Thesaurus file (*.the)|*.the|Any file (*.*)|*.*";

  // What an entry is, as its colour tells.
  enum Kind { kTyped = 0, kAdded = 1, kVariant = 2 };

  explicit TfrmGenoa(QWidget* parent = nullptr);
  // "&Ajouter" asks this dialog for the string (created after this one).
  void setAddDialog(TfrmAddStr* dialog) { addDialog_ = dialog; }

  GenoaControls ui;

  void setCaptions();

  // How the patterns of added strings are made (as the search made the
  // others'); identity when not set.
  using PatternMaker = std::function<std::string(const std::string& text)>;
  // Shows `strings` sorted by pattern, ascending; `programFolder` is where
  // the save dialog opens.
  void prepare(cArrowList& strings, PatternMaker patternOf, std::string programFolder);
  // Runs the dialog modally: true for "OK". The box is emptied either way.
  // Tests replace the modal loop with a runner that drives the dialog and
  // returns result().
  bool run();
  using Runner = std::function<int(TfrmGenoa&)>;
  void setRunner(Runner runner) { runner_ = std::move(runner); }

  // The save dialog of "Sau&ver" and "&Rajouter": the chosen path (UTF-8)
  // or nothing. Tests replace it.
  using FileChooser = std::function<std::string(QWidget* parent, const std::string& folder)>;
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

  static Kind kindOf(const SearchString& s);
  bool descending() const { return descending_; }

 private:
  void buildLayout();
  void refill();
  void sortList();
  void btnDelClick();
  void btnSortClick();
  void btnAddClick();
  void saveClick(bool append);

  TfrmAddStr* addDialog_ = nullptr;
  cArrowList* strings_ = nullptr;
  PatternMaker patternOf_;
  std::string programFolder_;
  bool descending_ = false;
  Runner runner_;
  FileChooser chooser_;
};

}  // namespace lirno
