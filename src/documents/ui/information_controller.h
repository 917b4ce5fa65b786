#pragma once
// The information file of a main window's document: found each time the
// main document is displayed, it enables "Informations sur le document" and
// "Informations" shows it in the shared information view.
#include <string>

#include "shell/ui/main_window.h"

namespace lirno {

class PanesController;
class TfrmInfo;

class InformationController : public WindowController {
  Q_OBJECT

 public:
  explicit InformationController(TfrmMain& frame);

  // btnInfo, mnuInfo: the information file in the view, when the open
  // document has one.
  void showInformation();

  // The shared view (nullptr before the shared dialogs exist).
  TfrmInfo* view() const;

 signals:
  // The displayed main document's information file (UTF-8 path; empty when
  // it has none).
  void informationFound(const std::string& path);

 private:
  void documentDisplayed(int slot);
  PanesController& panes() const;
};

}  // namespace lirno
