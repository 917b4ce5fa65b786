#include "lexicon/ui/lexicon_module.h"

#include "documents/ui/panes_controller.h"
#include "lexicon/ui/corpus_controller.h"
#include "lexicon/ui/thesaurus_controller.h"
#include "lexicon/ui/word_list_controller.h"
#include "lexicon/ui/word_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"

namespace lirno {

void attachLexiconControllers(TfrmMain& window) {
  // The command line's corpus is opened before its thesaurus.
  auto* corpus = new CorpusController(window);
  auto* thesaurus = new ThesaurusController(window);
  window.addController(corpus);
  window.addController(thesaurus);
  window.addController(new WordListController(window));
  // "Fermer les documents": after the documents and the results, the
  // thesaurus and then the corpus, each asking about its changes.
  if (auto* panes = window.controller<PanesController>()) {
    QObject::connect(panes, &PanesController::closeDocumentsCommandRan, corpus, [thesaurus, corpus] {
      thesaurus->thesaurus().close(&thesaurus->frame());
      corpus->corpus().close(&corpus->frame());
    });
  }
}

QDialog* createWordDialog(Workbench& workbench, QWidget* owner) {
  auto* dialog = new TfrmWord(owner);
  dialog->fillFilters(workbench.rules().filters);
  QObject::connect(&workbench, &Workbench::rulesChanged, dialog,
                   [dialog, &workbench] { dialog->fillFilters(workbench.rules().filters); });
  return dialog;
}

}  // namespace lirno
