#pragma once
// Save results ("&Enregister", "Enregistrer le résultat"): the export
// dialog, then the report of the window's results written to the chosen
// file. Extracts of corpus documents read those documents into the current
// pane, with progress; the window's documents are closed afterwards.
#include <functional>
#include <string>
#include <vector>

#include "search/request.h"
#include "shell/ui/main_window.h"

namespace lirno {

class ExportController : public WindowController {
  Q_OBJECT

 public:
  explicit ExportController(TfrmMain& frame);

  // What the results come from: the window's request, and the corpus
  // entries that were searched (all of them, or those before an
  // interruption). The search sets it.
  struct Source {
    std::function<const SearchRequest&()> request;
    std::function<std::vector<std::string>()> corpus;
  };
  void setSource(Source source) { source_ = std::move(source); }

  // Save results. False when nothing was written (cancelled or failed).
  bool saveResults();

 private:
  Source source_;
};

}  // namespace lirno
