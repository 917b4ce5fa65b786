#include "results/ui/export_controller.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>

#include <set>

#include "documents/ui/corpus_work.h"
#include "documents/ui/panes_controller.h"
#include "platform/file_write.h"
#include "platform/ui/message.h"
#include "results/report.h"
#include "results/ui/result_dialog.h"
#include "results/ui/results_controller.h"
#include "shell/ui/workbench.h"

namespace lirno {

ExportController::ExportController(TfrmMain& frame) : WindowController(frame) {
  for (const char* name : {"mnuSaveTarget", "btnSaveTarget"}) {
    if (QAction* a = frame.action(name)) connect(a, &QAction::triggered, this, [this] { saveResults(); });
    if (QToolButton* b = frame.button(name)) connect(b, &QToolButton::clicked, this, [this] { saveResults(); });
  }
}

bool ExportController::saveResults() {
  Workbench& wb = frame().workbench();
  auto* dialog = qobject_cast<TfrmResult*>(wb.dialogs().frmResult);
  ResultsController* results = frame().controller<ResultsController>();
  PanesController* panes = frame().controller<PanesController>();
  if (!dialog || !results || !panes || !source_.request) return false;
  const cTargetList& targets = results->targets();
  if (targets.empty()) return false;

  const int context = results->requestContext();
  dialog->setExtractKind(context == kContextSentence || context == kContextParagraph ? context : 0);
  dialog->setInitialFolder(wb.programFolder());
  if (dialog->run() != QDialog::Accepted) return false;
  const ReportOptions options = dialog->options();
  const std::string path = dialog->fileName();
  if (path.empty()) return false;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  CorpusWork documents(*panes, &frame());
  if (options.extracts > 0) {
    // Each labelled document is read once, in the writer's order or not:
    // the count is what the progress needs.
    std::set<std::string> labels;
    for (const auto& t : targets.records()) {
      if (!t->document.empty()) labels.insert(t->document.str());
    }
    documents.countLoads(labels.size());
  }
  const std::vector<std::string> corpus = source_.corpus ? source_.corpus() : std::vector<std::string>();
  const ReportInput input{source_.request(), targets, corpus, documents,
                          [](std::string_view text) { return translate(text); }, wb.rules().markers.page};

  // A replaced file gets the report as it is built and takes the place of
  // the old one only once it is whole. Appending writes in place: the
  // report is built first, so that an export stopped half-way adds nothing.
  FileWriter file;
  bool written = false;
  if (options.append) {
    StringSink report;
    writeReport(options, input, report);
    if (!documents.cancelled()) {
      written = file.open(path, FileWriter::Mode::Append) && file.write(report.text) && file.commit();
    }
  } else if (file.open(path, FileWriter::Mode::Replace)) {
    written = writeReport(options, input, file) && !documents.cancelled() && file.commit();
  }
  documents.reportMissing();
  QApplication::restoreOverrideCursor();
  // An export stopped half-way would look complete: nothing is kept.
  if (documents.cancelled()) return false;
  if (!written) {
    std::string detail = path;
    if (file.failed()) detail.append("\n").append(file.error());
    showMessage("Impossible d'enregistrer le fichier :\n", detail, "Lirno", MessageKind::Warning, &frame());
    return false;
  }
  return true;
}

}  // namespace lirno
