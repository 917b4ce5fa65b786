#pragma once
// A whole workbench on the offscreen platform for the form tests: a program
// folder with its rules file, documents written on demand, messages caught,
// and helpers that drive the search dialog and read the panes' colours.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/composition.h"
#include "documents/ui/pane_text.h"
#include "documents/ui/panes_controller.h"
#include "platform/ui/message.h"
#include "results/ui/results_controller.h"
#include "search/ui/find_dialog.h"
#include "search/ui/search_controller.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"
#include "support/engine_fixture.h"
#include "support/temp_folder.h"

namespace lirno::testing {

// The engine tests' alphabet, with two filters.
inline std::string workbenchRules() {
  return std::string(kTestRules) +
         "[Filters]\n"
         "P:Pluriels=S$,X$\n"
         "C:Initiale C=^C\n";
}

class WorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.write("nac.rul", workbenchRules());
    previous_ = setMessageHandler([this](const MessageRequest& m) {
      messages.push_back(m.text);
      return MessageAnswer::Ok;
    });
  }
  void TearDown() override {
    wb_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    setMessageHandler(previous_);
  }

  // The workbench started with `args` as its command line; the posted
  // commands have run.
  TfrmMain& start(const std::string& args = {}) {
    wb_ = std::make_unique<Workbench>(program_.path(), parseCommandLine(args));
    wb_->setFallbackSettingsPath(home_.file("lirno/Lirno.ini"));
    composeWorkbench(*wb_);
    TfrmMain* w = wb_->start();
    QCoreApplication::processEvents();
    return *w;
  }
  Workbench& workbench() { return *wb_; }

  // A plain-text document (Windows-1252) in the program folder.
  std::string writeDocument(const std::string& name, const std::string& text) {
    program_.write(name, text);
    return program_.file(name);
  }

  // "Ovrir un document" with `path` chosen.
  static void open(TfrmMain& w, const std::string& path) {
    PanesController& p = panes(w);
    p.setFileChooser([path](QWidget*, const std::string&) { return path; });
    w.button("btnOpen")->click();
  }

  TfrmFind& findDialog() { return *qobject_cast<TfrmFind*>(wb_->dialogs().frmFind); }

  // "Recherche", the dialog set up by `setUp`, then "OK".
  void search(TfrmMain& w, const std::function<void(TfrmFind&)>& setUp) {
    w.button("btnFind")->click();
    TfrmFind& d = findDialog();
    EXPECT_TRUE(d.isVisible());
    setUp(d);
    d.accept();
  }
  // The dialog's defaults with one typed word.
  void searchWord(TfrmMain& w, const std::string& word, int spelling = kSpellingReduced) {
    search(w, [&](TfrmFind& d) {
      d.ui.btnClear->click();
      d.ui.pnlOrtho.setIndex(spelling);
      d.ui.edWord->setText(QString::fromUtf8(word.c_str()));
    });
  }

  static PanesController& panes(TfrmMain& w) { return *w.controller<PanesController>(); }
  static ResultsController& results(TfrmMain& w) { return *w.controller<ResultsController>(); }
  static SearchController& searcher(TfrmMain& w) { return *w.controller<SearchController>(); }

  // The red stretches of the pane in `slot`, as (start, length) positions.
  static std::vector<std::pair<int, int>> redRanges(TfrmMain& w, int slot = 0) {
    PaneRecord& pane = panes(w).paneAt(slot);
    std::vector<std::pair<int, int>> out;
    for (QTextBlock b = pane.editor->document()->begin(); b.isValid(); b = b.next()) {
      for (const QTextLayout::FormatRange& f : b.layout()->formats()) {
        if (f.format.foreground().color() != QColor(255, 0, 0)) continue;
        const int from = positionOfCursor(pane.document, b.position() + f.start);
        const int to = positionOfCursor(pane.document, b.position() + f.start + f.length);
        out.emplace_back(from, to - from);
      }
    }
    return out;
  }

  // The current pane's selection as (start, length) positions.
  static std::pair<int, int> selection(TfrmMain& w) {
    PanesController& p = panes(w);
    return {p.selectionStart(p.currentRecord()), p.selectionLength(p.currentRecord())};
  }

  static bool enabled(TfrmMain& w, const char* name) {
    if (QAction* a = w.action(name)) return a->isEnabled();
    if (QToolButton* b = w.button(name)) return b->isEnabled();
    ADD_FAILURE() << "no command " << name;
    return false;
  }

  TempFolder program_{"prog"};
  TempFolder home_{"home"};
  std::vector<std::string> messages;

 private:
  std::unique_ptr<Workbench> wb_;
  MessageHandler previous_;
};

}  // namespace lirno::testing
