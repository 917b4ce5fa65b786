#include "documents/ui/information_controller.h"

#include <QAction>
#include <QToolButton>

#include "documents/information_file.h"
#include "documents/ui/info_dialog.h"
#include "documents/ui/panes_controller.h"
#include "shell/ui/workbench.h"

namespace lirno {

InformationController::InformationController(TfrmMain& frame) : WindowController(frame) {
  if (QAction* a = frame.action("mnuInfo")) connect(a, &QAction::triggered, this, [this] { showInformation(); });
  if (QToolButton* b = frame.button("btnInfo")) connect(b, &QToolButton::clicked, this, [this] { showInformation(); });
  connect(&panes(), &PanesController::documentDisplayed, this, [this](int slot) { documentDisplayed(slot); });
}

PanesController& InformationController::panes() const { return *frame().controller<PanesController>(); }

TfrmInfo* InformationController::view() const {
  return qobject_cast<TfrmInfo*>(frame().workbench().dialogs().frmInfo);
}

void InformationController::documentDisplayed(int slot) {
  PanesController& p = panes();
  // The information file is the main document's: a translation loaded
  // beside it keeps the main document's file and pictures.
  if (p.paneAt(slot).panel != frame().ui.pnlDocN[0]) return;
  Workbench& wb = frame().workbench();
  const std::string& doc = p.paneAt(slot).document.path;
  std::string info = informationFileOf(doc, wb.languageCode(), wb.programFolder());
  p.setInformationPath(info);
  frame().setCommandsEnabled({"btnInfo"}, !info.empty());
  emit informationFound(info);
}

void InformationController::showInformation() {
  PanesController& p = panes();
  if (p.documentPath().empty() || p.informationPath().empty()) return;
  if (TfrmInfo* v = view()) v->showFile(p.informationPath());
}

}  // namespace lirno
