#include "documents/ui/pictures_controller.h"

#include <QHeaderView>
#include <QTableView>

#include "documents/rich_text.h"
#include "documents/ui/image_viewer.h"
#include "documents/ui/information_controller.h"
#include "documents/ui/panes_controller.h"
#include "documents/ui/picture_grid.h"
#include "platform/file_read.h"
#include "platform/paths.h"
#include "shell/ui/workbench.h"

namespace lirno {

PicturesController::PicturesController(TfrmMain& frame) : WindowController(frame) {
  QTableView* g = frame.ui.grdPicture;
  model_ = new PictureModel(list_, this);
  auto* header = new PictureHeader(g);
  header->setFont(g->font());
  g->setHorizontalHeader(header);
  g->setModel(model_);
  g->setItemDelegate(new PictureDelegate(g));
  g->setShowGrid(true);
  g->setSelectionMode(QAbstractItemView::SingleSelection);
  g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  header->setFixedHeight(g->verticalHeader()->defaultSectionSize());
  header->setStretchLastSection(false);
  const QList<int> widths = g->property("designColumnWidths").value<QList<int>>();
  for (int c = 0; c < widths.size() && c < 3; ++c) header->resizeSection(c, widths[c]);
  connect(g, &QTableView::doubleClicked, this, [this] { openViewer(); });

  if (auto* info = frame.controller<InformationController>()) {
    connect(info, &InformationController::informationFound, this,
            [this](const std::string& path) { buildFromInformation(path); });
  }
  connect(&panes(), &PanesController::documentsClosed, this, [this] { freePictureList(); });
  connect(&panes(), &PanesController::folioDisplayed, this, [this](const QString& f) { lookUpFolio(f); });
}

PicturesController::~PicturesController() {
  if (TfrmImage* v = viewer()) v->forgetList(&list_);
}

PanesController& PicturesController::panes() const { return *frame().controller<PanesController>(); }

TfrmImage* PicturesController::viewer() const {
  return qobject_cast<TfrmImage*>(frame().workbench().dialogs().frmImage);
}

void PicturesController::formCreated() { reloadGrid(); }

void PicturesController::reloadGrid() {
  model_->reload();
  // No title row either while the list is empty.
  frame().ui.grdPicture->horizontalHeader()->setVisible(!list_.empty());
  if (TfrmImage* v = viewer()) v->listChanged(&list_);
}

void PicturesController::buildFromInformation(const std::string& path) {
  std::string bytes;
  if (path.empty() || !readFileBytes(path, bytes)) {
    freePictureList();
    return;
  }
  // The list reads the file as the information view shows it, as text.
  list_.build(plainTextOf(readRichText(bytes)));
  reloadGrid();
}

void PicturesController::freePictureList() {
  list_.clear();
  reloadGrid();
}

void PicturesController::lookUpFolio(const QString& folio) {
  const int row = list_.lookUpFolio(folio.toStdString());
  if (row == cPictureList::kUnchanged) return;
  model_->marksChanged();
  if (row < 0) return;
  QTableView* g = frame().ui.grdPicture;
  g->setCurrentIndex(model_->index(row, 0));
  g->scrollTo(model_->index(row, 0));
  if (TfrmImage* v = viewer()) v->follow(&list_, row, documentName(), imageFolder());
}

std::string PicturesController::documentName() const { return baseNameOf(panes().documentPath()); }

std::string PicturesController::imageFolder() const {
  const std::string& named = list_.imageFolder();
  return frame().workbench().programFolder() + "Images/" + (named.empty() ? documentName() : named) + "/";
}

void PicturesController::openViewer() {
  if (list_.empty()) return;
  TfrmImage* v = viewer();
  if (!v) return;
  const int row = frame().ui.grdPicture->currentIndex().row();
  v->present(&list_, std::max(0, row), documentName(), imageFolder());
}

}  // namespace lirno
