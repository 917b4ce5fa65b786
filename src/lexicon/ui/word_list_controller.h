#pragma once
// The word list of a main window ("Liste de &mots", "Liste des mots"): the
// dialog's options into the window's request, then every word of the
// current document or of each corpus document as the window's results, in
// word-list mode.
#include "shell/ui/main_window.h"

namespace lirno {

class WordListController : public WindowController {
  Q_OBJECT

 public:
  explicit WordListController(TfrmMain& frame);

  // The word list command. False when the dialog was cancelled.
  bool wordListCommand();
  // Steps 3 to 6 once the request holds the dialog's options.
  void runWordList();
};

}  // namespace lirno
