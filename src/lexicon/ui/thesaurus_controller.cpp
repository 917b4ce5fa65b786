#include "lexicon/ui/thesaurus_controller.h"

#include <QAction>

#include "lexicon/string_list_file.h"
#include "lexicon/ui/lexicon_files.h"
#include "lexicon/ui/menu_mark.h"
#include "lexicon/ui/thesaurus_dialog.h"
#include "platform/translator.h"
#include "search/ui/search_controller.h"
#include "shell/command_line.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

ListResource::Kind thesaurusKind() {
  return {"Thesaurus",
          translatable("Le thesaurus a changé. Voulez-vous l'enregistrer ?"),
          ThesaurusController::kFilter,
          "the",
          false,
          [](const std::string& path, std::vector<std::string>& e) { return readStringListFile(path, e); },
          [](const std::string& path, const std::vector<std::string>& e) {
            return writeStringListFile(path, e);
          }};
}

}  // namespace

ThesaurusController::ThesaurusController(TfrmMain& frame)
    : WindowController(frame),
      thesaurus_(thesaurusKind(), frame.workbench().programFolder(),
                 [&frame](QWidget*, std::vector<std::string>& entries) {
                   auto* dialog = qobject_cast<TfrmThesaurus*>(frame.workbench().dialogs().frmThesaurus);
                   if (!dialog) return 0;
                   dialog->fill(entries);
                   const int result = dialog->run();
                   if (result != QDialog::Rejected) entries = dialog->entries();
                   dialog->clearEntries();
                   return result;
                 }) {
  thesaurus_.setStateChanged([this] { showState(); });
  auto on = [&](const char* name, auto&& f) {
    if (QAction* a = frame.action(name)) connect(a, &QAction::triggered, this, f);
  };
  on("mnuTNew", [this] { thesaurus_.newCommand(&this->frame()); });
  on("mnuTOpen", [this] { thesaurus_.openCommand(&this->frame()); });
  on("mnuTEdit", [this] { thesaurus_.edit(&this->frame()); });
  on("mnuTSave", [this] { thesaurus_.save(&this->frame(), false); });
  on("mnuTSaveAs", [this] { thesaurus_.save(&this->frame(), true); });
  on("mnuTClose", [this] { thesaurus_.close(&this->frame()); });
  if (auto* search = frame.controller<SearchController>()) {
    search->setThesaurusSource([this] { return thesaurus_.isOpen() ? &thesaurus_.entries() : nullptr; });
  }
}

void ThesaurusController::applyCommandLine(CommandLine& cl) {
  if (cl.thesaurusFile.empty()) return;
  thesaurus_.openFile(cl.thesaurusFile, &frame());
  cl.thesaurusFile.clear();
}

void ThesaurusController::showState() {
  TfrmMain& w = frame();
  const int level = thesaurus_.level();
  w.setCommandsEnabled({"mnuTEdit", "mnuTSaveAs", "mnuTClose"}, level >= ListResource::kOpen);
  w.setCommandsEnabled({"mnuTSave"}, level >= ListResource::kEdited);
  showMenuMark(w, "mnuThesaurus", thesaurus_.isOpen());
}

}  // namespace lirno
