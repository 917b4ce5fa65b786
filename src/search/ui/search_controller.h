#pragma once
// The search in a main window: the window's request, "&Rechercher" and
// "Recherche" (the dialog, or the command line's strings at start-up), the
// driver run with the hourglass, and its outcome: status line, sorted grid,
// occurrences in red in the current pane, the result pane. It also stands
// behind the result grid's opening commands (highlighting, and the same
// results in another window).
#include <functional>
#include <string>
#include <vector>

#include "search/request.h"
#include "shell/ui/main_window.h"

namespace lirno {

class PanesController;
class ResultsController;
class TfrmFind;

class SearchController : public WindowController {
  Q_OBJECT

 public:
  explicit SearchController(TfrmMain& frame);

  SearchRequest& request() { return request_; }
  const SearchRequest& request() const { return request_; }

  // The lists that other subsystems hold (paths UTF-8, thesaurus lines
  // Windows-1252); nullptr while none is loaded. The corpus and thesaurus
  // controllers set them.
  using ListSource = std::function<const std::vector<std::string>*()>;
  void setCorpusSource(ListSource source) { corpus_ = std::move(source); }
  void setThesaurusSource(ListSource source) { thesaurus_ = std::move(source); }
  bool corpusLoaded() const;
  // The corpus list while one is loaded, else nullptr.
  const std::vector<std::string>* corpusList() const { return corpus_ ? corpus_() : nullptr; }
  // A document is loaded in the current pane.
  bool documentOpen() const;

  // "&Rechercher": the command line's request while one is pending, else the
  // dialog. "Recherche" always shows the dialog.
  void findCommand();
  void showSearchDialog();
  // What "OK" does: the dialog's options into the request, then the search.
  void confirmDialog(TfrmFind& dialog);

  // Run search with `interactive` for the dialog's requests, then shows the
  // outcome. False when nothing was searched.
  bool runSearch(bool interactive);
  // Highlight occurrences: every occurrence of the current document in red.
  void highlightOccurrences();

  // The corpus entries the results come from: all of them, or those
  // handled before the work was interrupted (the report names those only).
  std::vector<std::string> searchedCorpus() const;
  void setSearchedDocuments(std::size_t count) { searchedDocuments_ = count; }

 private:
  void runCommandLineSearch();
  // Open in another window, for `other` once its document is loaded: the
  // request's options and strings there, and its document scanned into its
  // own results.
  void reproduceIn(TfrmMain& other);
  void showOutcome(const std::string& status, int sortOrder);

  PanesController& panes() const;
  ResultsController& results() const;

  SearchRequest request_;
  ListSource corpus_;
  ListSource thesaurus_;
  std::size_t searchedDocuments_ = static_cast<std::size_t>(-1);
};

}  // namespace lirno
