#include "app/composition.h"

#include "documents/ui/documents_module.h"
#include "documents/ui/image_viewer.h"
#include "documents/ui/info_dialog.h"
#include "i18n/ui/i18n_module.h"
#include "lexicon/ui/corpus_dialog.h"
#include "lexicon/ui/lexicon_module.h"
#include "lexicon/ui/thesaurus_dialog.h"
#include "lexicon/ui/word_dialog.h"
#include "results/ui/concordance_controller.h"
#include "results/ui/result_dialog.h"
#include "results/ui/results_module.h"
#include "search/ui/add_string_dialog.h"
#include "search/ui/genoa_dialog.h"
#include "search/ui/search_controller.h"
#include "search/ui/search_module.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"

namespace lirno {

void composeWorkbench(Workbench& workbench) {
  attachI18n(workbench);
  workbench.setWindowSetup([](TfrmMain& window) {
    attachI18nControllers(window);
    attachDocumentsControllers(window);
    attachResultsControllers(window);
    attachSearchControllers(window);
    attachLexiconControllers(window);
    // The concordance compares words in the spelling of the last request.
    if (auto* concordance = window.controller<ConcordanceController>()) {
      concordance->setRequestSource([&window]() -> const SearchRequest* {
        auto* search = window.controller<SearchController>();
        return search ? &search->request() : nullptr;
      });
    }
  });
  workbench.setDialogSetup([](Workbench& wb) {
    QWidget* owner = wb.anchor();
    SharedDialogs& d = wb.dialogs();
    d.frmFind = createFindDialog(wb, owner);
    d.frmCorpus = new TfrmCorpus(owner);
    d.frmThesaurus = new TfrmThesaurus(owner);
    d.frmWord = createWordDialog(wb, owner);
    d.frmInfo = new TfrmInfo(owner);
    d.frmGenoa = new TfrmGenoa(owner);
    d.frmAddStr = new TfrmAddStr(owner);
    static_cast<TfrmGenoa*>(d.frmGenoa)->setAddDialog(static_cast<TfrmAddStr*>(d.frmAddStr));
    d.frmResult = new TfrmResult(owner);
    d.frmImage = new TfrmImage(owner);
    watchI18nDialogs(wb);
  });
}

}  // namespace lirno
