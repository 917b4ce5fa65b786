#pragma once
// The concordance and dispersion commands of a main window ("&Concordance",
// "&Répartition" and their tool buttons): builds TfrmConcordance's lines,
// strips and counts from the window's results, sorts, copies and exports
// them, and shows a chosen occurrence in the pane as stepping does.
#include <QPointer>

#include <functional>
#include <vector>

#include "results/concordance.h"
#include "search/request.h"
#include "shell/ui/main_window.h"

namespace lirno {

class PanesController;
class ResultsController;
class TfrmConcordance;

class ConcordanceController : public WindowController {
  Q_OBJECT

 public:
  explicit ConcordanceController(TfrmMain& frame);
  ~ConcordanceController() override;

  void formCreated() override;

  // Where the spelling of the last request comes from (the search's
  // controller); without it, words compare upper-cased.
  void setRequestSource(std::function<const SearchRequest*()> source) { request_ = std::move(source); }
  // The file chosen for an export (caption, filter); empty: cancelled.
  // Replaceable in tests; a save dialog by default.
  std::function<QString(const QString& caption, const QString& filter)> chooseSaveFile;

  // --- Commands ------------------------------------------------------------
  void showConcordance();  // opens the window on its first page
  void showDispersion();   // on its second page
  void refresh();          // the lines, strips and counts from the results
  void resort();           // by the three sort boxes
  void showLine(int row);  // the occurrence of a grid row, in the pane
  void showHit(int strip, int hit);
  void copyLines();        // the selected rows, as TSV
  bool exportConcordance(const QString& path);  // CSV for ".csv", TSV otherwise
  bool exportCounts(const QString& path);
  bool exportPicture(const QString& path);       // SVG for ".svg", PNG otherwise

  TfrmConcordance* window() const;
  std::vector<KwicKey> sortKeys() const;
  // "Tri : L1, Cible, puis document et position".
  QString sortDescription() const;

 private:
  TfrmConcordance& ensureWindow();
  void wireWindow();
  void resultsChanged();
  WordForm wordForm() const;
  // The targets chosen for the view: the grid's selected rows, or all.
  std::vector<std::size_t> chosenTargets() const;
  // The list index of a target recorded at the last build; -1 when it has
  // gone since.
  int currentIndexOf(std::size_t builtIndex) const;
  void showOccurrence(std::size_t builtIndex, std::uint32_t occurrence);
  bool writeFile(const QString& path, const std::string& bytes);
  QString saveFile(const char* caption, const char* filter);
  PanesController& panes() const;
  ResultsController& results() const;

  std::function<const SearchRequest*()> request_;
  QPointer<TfrmConcordance> window_;
  std::vector<const Target*> built_;  // the list's records at the last build
  std::vector<std::string> builtTexts_;
};

}  // namespace lirno
