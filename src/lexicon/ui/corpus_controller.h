#pragma once
// The corpus: one for the whole process, shared by every main window (each
// sees it open, edits it and closes it alike), and the "&Corpus" menu of
// each window, which shows its state.
#include <QObject>

#include "lexicon/ui/list_resource.h"
#include "shell/ui/main_window.h"

namespace lirno {

class Workbench;

// The process's corpus (document paths, UTF-8). A child of the workbench,
// created by the first window that asks for it.
class SharedCorpus : public QObject {
  Q_OBJECT

 public:
  static SharedCorpus& of(Workbench& workbench);

  ListResource& corpus() { return corpus_; }
  // The list while the corpus is open, else nullptr.
  const std::vector<std::string>* openList() const {
    return corpus_.isOpen() ? &corpus_.entries() : nullptr;
  }

 signals:
  // The level or the open flag changed: every window shows it.
  void stateChanged();

 private:
  explicit SharedCorpus(Workbench& workbench);
  ListResource corpus_;
};

class CorpusController : public WindowController {
  Q_OBJECT

 public:
  static constexpr const char* kFilter = "Corpus file (*.cor)|*.cor|Any file (*.*)|*.*";

  explicit CorpusController(TfrmMain& frame);

  // "-C": the first window opens the corpus of the command line.
  void applyCommandLine(CommandLine& commandLine) override;
  void formCreated() override;

  ListResource& corpus() { return shared_.corpus(); }

 private:
  void showState();
  // Searching and the word list need a document or the corpus.
  void enableSearch();

  SharedCorpus& shared_;
};

}  // namespace lirno
