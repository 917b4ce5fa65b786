#pragma once
// The "&Thesaurus" menu of a main window. Each window has a thesaurus of
// its own (lines in Windows-1252), handed to the search dialog's
// "Thesaurus" button while it is open.
#include "lexicon/ui/list_resource.h"
#include "shell/ui/main_window.h"

namespace lirno {

class ThesaurusController : public WindowController {
  Q_OBJECT

 public:
  static constexpr const char* kFilter = "Thesaurus file (*.the)|*.the|Any file (*.*)|*.*";

  explicit ThesaurusController(TfrmMain& frame);

  // "-T": the first window opens the thesaurus of the command line.
  void applyCommandLine(CommandLine& commandLine) override;

  ListResource& thesaurus() { return thesaurus_; }

 private:
  void showState();

  ListResource thesaurus_;
};

}  // namespace lirno
