#pragma once
// TfrmFind, "Recherche": the search dialog, one for the whole process and
// refilled from the main window that shows it. While shown it edits that
// window's search-string list in place (its box lstWord stands entry for
// entry for the strings); "OK" hands the options to the window, which reads
// them into its request with readRequest().
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "search/request.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace lirno {

// A radio group: its box and the index of the checked item.
struct RadioGroup {
  QGroupBox* box = nullptr;
  QButtonGroup* buttons = nullptr;
  int index() const;
  void setIndex(int i);
  // The items only: the box may hold other controls.
  void setItemsEnabled(bool enabled);
};

struct FindControls {
  QLineEdit* edWord = nullptr;
  QListWidget* lstWord = nullptr;
  QPushButton* btnAdd = nullptr;        // "&Ajouter"
  QPushButton* btnRepl = nullptr;       // "&Remplacer"
  QPushButton* btnDel = nullptr;        // "&Supprimer"
  QPushButton* btnClear = nullptr;      // "&Effacer"
  QPushButton* btnThesaurus = nullptr;  // "Thesaurus"
  RadioGroup pnlPlace;                  // "Position"
  QCheckBox* chkExclude = nullptr;
  RadioGroup pnlOrtho;                  // "Orthographe"
  QSpinBox* udGenoa = nullptr;
  QLabel* lblGenoa = nullptr;           // "niveau génération"
  QCheckBox* chkSaveGenoa = nullptr;
  RadioGroup pnlContext;                // "Contexte"
  QCheckBox* chkSepar = nullptr;
  QCheckBox* chkAll = nullptr;
  QCheckBox* chkOrder = nullptr;
  RadioGroup pnlResult;                 // "Résultat", with the two boxes below
  QCheckBox* chkAsOrtho = nullptr;
  QCheckBox* chkSymbol = nullptr;
  QCheckBox* chkRightSort = nullptr;
  QCheckBox* chkCorpus = nullptr;
  QListWidget* lstFilter = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

// What the showing window tells the dialog.
struct FindSetup {
  const std::vector<std::string>* thesaurus = nullptr;  // lines of the open thesaurus; none: null
  int highestVariantLevel = 1;
  bool corpusLoaded = false;
  bool documentOpen = false;
  std::vector<std::string> filterDefinitions;  // of the rules in force
};

class TfrmFind : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmFind(QWidget* parent = nullptr);

  FindControls ui;

  // Show search dialog, first half: `strings` is edited in place until the
  // dialog closes.
  void prepare(cArrowList& strings, const FindSetup& setup);
  // Shows the dialog modally without blocking; `finished` runs once when it
  // closes, with true for "OK". Tests call accept() or reject() instead of
  // clicking.
  void present(std::function<void(bool accepted)> finished);

  // "OK": the options as the request takes them, the chosen filters, and
  // every string numbered.
  void readRequest(SearchRequest& request, bool corpusLoaded, bool documentOpen) const;

  // The filter list from the rules' definitions; the check marks go.
  void fillFilters(const std::vector<std::string>& definitions);

  void done(int result) override;

 private:
  void buildLayout();
  void wire();
  QString enteredText() const;
  cArrowList& strings();

  void edWordChanged();
  void btnAddClick();
  void btnReplClick();
  void btnDelClick();
  // The box, the list and the edit field emptied; position and exclusion
  // back to their defaults.
  void emptyStrings();
  void btnClearClick();
  void btnThesaurusClick();
  void placeOrExcludeClicked();
  void refresh();
  void contextChanged();
  void resultChanged();
  void orthoChanged();

  cArrowList* strings_ = nullptr;
  cArrowList idle_;  // stands in while no window has handed its strings
  const std::vector<std::string>* thesaurus_ = nullptr;
  std::vector<std::string> filterDefinitions_;
  bool showingValues_ = false;
  std::function<void(bool)> finished_;
};

}  // namespace lirno
