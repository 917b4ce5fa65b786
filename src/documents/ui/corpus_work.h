#pragma once
// The documents of work that runs in a main window (a search, a word list,
// an export): the current pane's document, and corpus documents loaded into
// that pane without being displayed. Work over many documents shows its
// progress (document k of N and its file name) once it lasts, with
// "Annuler", which stops it between two documents; documents that cannot be
// read are gathered and reported in one message at the end. All of it on
// the GUI thread: the progress window only lets the events through while
// the work moves from one document to the next.
#include <QElapsedTimer>
#include <QPointer>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_loader.h"
#include "documents/document_source.h"

class QProgressDialog;
class QWidget;

namespace lirno {

class PanesController;

class CorpusWork : public DocumentSource {
 public:
  // `window` parents the progress window and the message.
  CorpusWork(PanesController& panes, QWidget* window);
  ~CorpusWork() override;
  CorpusWork(const CorpusWork&) = delete;
  CorpusWork& operator=(const CorpusWork&) = delete;

  const Document& current() override;
  void closeAll() override;
  // Load into current pane without display and without a message: a file
  // that cannot be read is noted for reportMissing(). While loads are
  // counted (countLoads), each one first advances the progress; once the
  // work is cancelled nothing more is loaded.
  const Document* load(const std::string& path) override;

  // Each later load is one step of `total` (an export reading documents).
  void countLoads(std::size_t total);
  // Before document `k` (from 0) of `total`, named by `path`: shows and
  // moves the progress. False once "Annuler" was pressed.
  bool advance(std::size_t k, std::size_t total, std::string_view path);
  void cancel();
  bool cancelled() const { return cancelled_; }

  // The documents that could not be read, in the order they were met.
  const std::vector<std::string>& missing() const { return missing_; }
  // The not-found message for one document; one message with the count and
  // the list for several; nothing when none is missing. Clears the list.
  void reportMissing();

  // The progress window while it is shown, else nullptr.
  QProgressDialog* progressWindow() const;

  // How long work runs before its progress shows (ms; 300 by default).
  // Tests and benchmarks set it; a negative value never shows it.
  static void setShowDelay(int milliseconds);
  // Runs after every step (tests press "Annuler" through it).
  using Observer = std::function<void(CorpusWork&, std::size_t k)>;
  static void setObserver(Observer observer);

 private:
  void show(std::size_t total);

  PanesController& panes_;
  QPointer<QWidget> window_;
  QElapsedTimer started_;
  qint64 shownAt_ = -1;  // ms since the start of the last update of the window
  std::unique_ptr<QProgressDialog> progress_;
  std::vector<std::string> missing_;
  std::vector<DocumentLoad> reasons_;  // beside missing_
  std::size_t loadsTotal_ = 0;
  std::size_t loads_ = 0;
  bool countingLoads_ = false;
  bool cancelled_ = false;
  bool begun_ = false;
};

}  // namespace lirno
