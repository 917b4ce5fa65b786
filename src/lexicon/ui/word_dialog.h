#pragma once
// TfrmWord, "Liste des mots": the options of the word list, one dialog for
// the whole process. Its controls keep their states between uses; the
// filter list follows the rules file in force.
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "search/request.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace lirno {

struct WordControls {
  QGroupBox* pnlResult = nullptr;  // "Résultat": Identique, Majuscule, Modifiée
  QButtonGroup* resultSpellings = nullptr;
  QCheckBox* chkResSep = nullptr;  // "Affiche les symboles"
  QCheckBox* chkCorpus = nullptr;  // "Utiliser le corpus"
  QGroupBox* gbFilter = nullptr;   // "Filtres"
  QListWidget* lstFilter = nullptr;
  QCheckBox* chkRightSort = nullptr;  // "Tri à droite"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TfrmWord : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmWord(QWidget* parent = nullptr);

  WordControls ui;

  // The French texts of every control (the language file's control lines
  // replace them when shown), and the filter lines with their names translated.
  void setCaptions();

  // One unticked line per filter definition of the rules, in file order:
  // its first two characters and the translated name up to "=".
  void fillFilters(const std::vector<std::string>& definitions);
  const std::vector<std::string>& filterDefinitions() const { return definitions_; }

  // Before the dialog is shown: "Utiliser le corpus" is offered with a
  // corpus only, and ticked when there is no document to list.
  void prepare(bool corpusLoaded, bool documentOpen);

  // What "OK" gives the window's request: the ticked filters (patterns and
  // description), the result spelling, show symbols and use corpus, and
  // sort from the right. The other options are left as they are.
  void readRequest(SearchRequest& request, bool corpusLoaded, bool documentOpen) const;

  int resultSpelling() const;

  // Runs the dialog modally and returns Accepted or Rejected. Tests replace
  // the modal loop with a runner that drives the dialog and returns
  // result().
  int run();
  using Runner = std::function<int(TfrmWord&)>;
  void setRunner(Runner runner) { runner_ = std::move(runner); }

 private:
  void buildLayout();
  void resultChanged();

  std::vector<std::string> definitions_;
  Runner runner_;
};

}  // namespace lirno
