#include "lexicon/ui/lexicon_module.h"

#include "documents/ui/panes_controller.h"
#include "lexicon/ui/corpus_controller.h"
#include "lexicon/ui/thesaurus_controller.h"
#include "shell/ui/main_window.h"

namespace lirno {

void attachLexiconControllers(TfrmMain& window) {
  // The command line's corpus is opened before its thesaurus.
  auto* corpus = new CorpusController(window);
  auto* thesaurus = new ThesaurusController(window);
  window.addController(corpus);
  window.addController(thesaurus);
  // "Fermer les documents": after the documents and the results, the
  // thesaurus and then the corpus, each asking about its changes.
  if (auto* panes = window.controller<PanesController>()) {
    QObject::connect(panes, &PanesController::closeDocumentsCommandRan, corpus, [thesaurus, corpus] {
      thesaurus->thesaurus().close(&thesaurus->frame());
      corpus->corpus().close(&corpus->frame());
    });
  }
}

}  // namespace lirno
