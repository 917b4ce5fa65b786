#include "lexicon/ui/corpus_controller.h"

#include <QAction>

#include "documents/ui/panes_controller.h"
#include "lexicon/string_list_file.h"
#include "lexicon/ui/corpus_dialog.h"
#include "lexicon/ui/lexicon_files.h"
#include "lexicon/ui/menu_mark.h"
#include "platform/translator.h"
#include "search/ui/search_controller.h"
#include "shell/command_line.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

ListResource::Kind corpusKind() {
  return {"Corpus",
          translatable("Le corpus a changé. Voulez-vous l'enregistrer ?"),
          CorpusController::kFilter,
          "cor",
          true,
          [](const std::string& path, std::vector<std::string>& e) { return readCorpusFile(path, e); },
          [](const std::string& path, const std::vector<std::string>& e) { return writeCorpusFile(path, e); }};
}

}  // namespace

SharedCorpus::SharedCorpus(Workbench& wb)
    : QObject(&wb),
      corpus_(corpusKind(), wb.programFolder(), [&wb](QWidget*, std::vector<std::string>& entries) {
        auto* dialog = qobject_cast<TfrmCorpus*>(wb.dialogs().frmCorpus);
        if (!dialog) return 0;
        const std::string& folder = wb.shellSettings().documentPath;
        dialog->fill(entries, folder.empty() ? wb.programFolder() : folder);
        const int result = dialog->run();
        if (result != QDialog::Rejected) entries = dialog->entries();
        dialog->clearEntries();
        return result;
      }) {
  setObjectName(QStringLiteral("sharedCorpus"));
  corpus_.setStateChanged([this] { emit stateChanged(); });
}

SharedCorpus& SharedCorpus::of(Workbench& wb) {
  if (auto* found = wb.findChild<SharedCorpus*>(QString(), Qt::FindDirectChildrenOnly)) return *found;
  return *new SharedCorpus(wb);
}

CorpusController::CorpusController(TfrmMain& frame)
    : WindowController(frame), shared_(SharedCorpus::of(frame.workbench())) {
  auto on = [&](const char* name, auto&& f) {
    if (QAction* a = frame.action(name)) connect(a, &QAction::triggered, this, f);
  };
  ListResource& c = shared_.corpus();
  on("mnuCNew", [this, &c] { c.newCommand(&this->frame()); });
  on("mnuCOpen", [this, &c] { c.openCommand(&this->frame()); });
  on("mnuCEdit", [this, &c] { c.edit(&this->frame()); });
  on("mnuCSave", [this, &c] { c.save(&this->frame(), false); });
  on("mnuCSaveAs", [this, &c] { c.save(&this->frame(), true); });
  on("mnuCClose", [this, &c] { c.close(&this->frame()); });
  connect(&shared_, &SharedCorpus::stateChanged, this, [this] { showState(); });
  if (auto* panes = frame.controller<PanesController>()) {
    connect(panes, &PanesController::documentsClosed, this, [this] { enableSearch(); });
  }
  if (auto* search = frame.controller<SearchController>()) {
    search->setCorpusSource([this] { return shared_.openList(); });
  }
}

void CorpusController::applyCommandLine(CommandLine& cl) {
  if (cl.corpusFile.empty()) return;
  shared_.corpus().openFile(cl.corpusFile, &frame());
  cl.corpusFile.clear();
}

void CorpusController::formCreated() { showState(); }

void CorpusController::showState() {
  TfrmMain& w = frame();
  const ListResource& c = shared_.corpus();
  w.setCommandsEnabled({"mnuCEdit", "mnuCSaveAs", "mnuCClose"}, c.level() >= ListResource::kOpen);
  w.setCommandsEnabled({"mnuCSave"}, c.level() >= ListResource::kEdited);
  showMenuMark(w, "mnuCorpus", c.isOpen());
  enableSearch();
}

void CorpusController::enableSearch() {
  auto* panes = frame().controller<PanesController>();
  const bool document = panes && !panes->documentPath().empty();
  frame().setCommandsEnabled({"btnFind", "mnuFind", "btnWord", "mnuWord"},
                             document || shared_.corpus().isOpen());
}

}  // namespace lirno
