#include "documents/ui/image_viewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

#include "documents/picture_list.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "shell/ui/tool_icons.h"

namespace lirno {
namespace {

QToolButton* toolButton(const char* name, ToolIcon icon) {
  auto* b = new QToolButton;
  b->setObjectName(QString::fromLatin1(name));
  b->setIcon(toolIcon(icon));
  b->setAutoRaise(true);
  b->setFixedSize(26, 26);
  return b;
}

QLabel* label(const char* name) {
  auto* l = new QLabel;
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

QLineEdit* field(const char* name) {
  auto* e = new QLineEdit;
  e->setObjectName(QString::fromLatin1(name));
  e->setReadOnly(true);
  return e;
}

// A sum of tenths that lands next to a tenth is that tenth, so that ten
// steps from 1.0 reach 2.0 exactly.
double tenths(double z) {
  const double t = std::round(z * 10.0);
  return std::fabs(z * 10.0 - t) < 1e-6 ? t / 10.0 : z;
}

}  // namespace

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("imgPicture"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCanvas::setPicture(const QImage* bitmap, double bitmapScale, double zoom) {
  bitmap_ = bitmap;
  factor_ = bitmapScale > 0 ? zoom / bitmapScale : zoom;
  update();
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect area = event->rect();
  if (!bitmap_ || bitmap_->isNull()) {
    p.fillRect(area, palette().color(QPalette::Window));
    return;
  }
  // Only the exposed part is scaled, from the matching part of the bitmap:
  // the cost of a repaint is that of the window, not of the picture.
  p.setRenderHint(QPainter::SmoothPixmapTransform, factor_ != 1.0);
  const QRectF source(area.left() / factor_, area.top() / factor_, area.width() / factor_,
                      area.height() / factor_);
  p.drawImage(QRectF(area), *bitmap_, source);
}

TfrmImage::TfrmImage(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmImage"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setModal(false);
  resize(800, 600);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  sclImage = new QScrollArea;
  sclImage->setObjectName(QStringLiteral("sclImage"));
  sclImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  sclImage->setWidgetResizable(false);
  imgPicture = new PictureCanvas;
  imgPicture->resize(0, 0);
  sclImage->setWidget(imgPicture);
  imgPicture->installEventFilter(this);
  layout->addWidget(sclImage, 1);

  pnlInfo = new QWidget;
  pnlInfo->setObjectName(QStringLiteral("pnlInfo"));
  auto* info = new QHBoxLayout(pnlInfo);
  info->setContentsMargins(4, 3, 4, 3);
  info->setSpacing(4);
  btnFirst = toolButton("btnFirst", ToolIcon::First);
  btnPrev = toolButton("btnPrev", ToolIcon::Previous);
  btnNext = toolButton("btnNext", ToolIcon::Next);
  btnLast = toolButton("btnLast", ToolIcon::Last);
  lblFolio = label("lblFolio");
  lblDescr = label("lblDescr");
  lblImage = label("lblImage");
  edFolio = field("edFolio");
  edFolio->setFixedWidth(56);
  edDescr = field("edDescr");
  edImage = field("edImage");
  edImage->setMinimumWidth(120);
  chkFollow = new QCheckBox;
  chkFollow->setObjectName(QStringLiteral("chkFollow"));
  chkFollow->setChecked(false);
  btnZoomOut = toolButton("btnZoomOut", ToolIcon::ZoomOut);
  btnZoomIn = toolButton("btnZoomIn", ToolIcon::ZoomIn);
  for (QWidget* w : {static_cast<QWidget*>(btnFirst), static_cast<QWidget*>(btnPrev),
                     static_cast<QWidget*>(btnNext), static_cast<QWidget*>(btnLast)}) {
    info->addWidget(w);
  }
  info->addSpacing(8);
  info->addWidget(lblFolio);
  info->addWidget(edFolio);
  info->addWidget(lblDescr);
  info->addWidget(edDescr, 3);
  info->addWidget(lblImage);
  info->addWidget(edImage, 2);
  info->addSpacing(8);
  info->addWidget(chkFollow);
  info->addWidget(btnZoomOut);
  info->addWidget(btnZoomIn);
  layout->addWidget(pnlInfo);

  connect(btnFirst, &QToolButton::clicked, this, [this] { firstPicture(); });
  connect(btnPrev, &QToolButton::clicked, this, [this] { previousPicture(); });
  connect(btnNext, &QToolButton::clicked, this, [this] { nextPicture(); });
  connect(btnLast, &QToolButton::clicked, this, [this] { lastPicture(); });
  connect(btnZoomIn, &QToolButton::clicked, this, [this] { zoomIn(); });
  connect(btnZoomOut, &QToolButton::clicked, this, [this] { zoomOut(); });

  setCaptions();
  updateButtons();
}

TfrmImage::~TfrmImage() = default;

void TfrmImage::setCaptions() {
  // The French captions; the language file's control lines replace them
  // each time the viewer is shown.
  setWindowTitle(QStringLiteral("Lirno"));
  btnFirst->setToolTip(QString::fromUtf8("Première image"));
  btnPrev->setToolTip(QString::fromUtf8("Image précédente"));
  btnNext->setToolTip(QStringLiteral("Image suivante"));
  btnLast->setToolTip(QString::fromUtf8("Derniére image"));
  btnZoomIn->setToolTip(QStringLiteral("Zoom in"));
  btnZoomOut->setToolTip(QStringLiteral("Zoom out"));
  lblFolio->setText(QStringLiteral("Folio"));
  lblDescr->setText(QStringLiteral("Description"));
  lblImage->setText(QStringLiteral("Image"));
  chkFollow->setText(QStringLiteral("Suivre le texte"));
  chkFollow->setToolTip(QString::fromUtf8("Montrer l'image du folio où se trouve le curseur"));
}

void TfrmImage::showEvent(QShowEvent* event) {
  if (!placed_) {
    // Centred on the desktop the first time; where the user left it after.
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    placed_ = true;
  }
  QDialog::showEvent(event);
}

bool TfrmImage::followsText() const { return chkFollow->isChecked(); }

QSize TfrmImage::displayedSize() const {
  if (picture_.empty()) return {0, 0};
  const QSize s = picture_.size();
  // Truncated, as the zoom's product is; a hair above keeps 0.3 x 10 at 3.
  return {static_cast<int>(s.width() * zoom_ + 1e-9), static_cast<int>(s.height() * zoom_ + 1e-9)};
}

void TfrmImage::present(const cPictureList* list, int index, const std::string& documentName,
                        const std::string& folder) {
  list_ = list;
  index_ = std::max(0, index);
  documentName_ = documentName;
  folder_ = folder;
  show();
  raise();
  activateWindow();
  updateButtons();
  showCurrentPicture();
}

void TfrmImage::follow(const cPictureList* list, int index, const std::string& documentName,
                       const std::string& folder) {
  if (!isVisible() || !followsText()) return;
  if (list == list_ && index == index_ && folder == folder_ && !picture_.empty()) return;
  list_ = list;
  index_ = std::max(0, index);
  documentName_ = documentName;
  folder_ = folder;
  updateButtons();
  showCurrentPicture();
}

void TfrmImage::listChanged(const cPictureList* list) {
  if (list != list_) return;
  updateButtons();
  if (list_->empty()) {
    // Nothing left to show: the fields and the picture go.
    edFolio->clear();
    edDescr->clear();
    edImage->clear();
    picture_ = LoadedPicture();
    redraw();
  }
}

void TfrmImage::forgetList(const cPictureList* list) {
  if (list != list_) return;
  list_ = nullptr;
  index_ = 0;
  updateButtons();
}

void TfrmImage::updateButtons() {
  const int last = list_ ? static_cast<int>(list_->size()) - 1 : -1;
  if (!list_) index_ = 0;
  btnFirst->setEnabled(last >= 0 && index_ > 0);
  btnPrev->setEnabled(last >= 0 && index_ > 0);
  btnNext->setEnabled(last >= 0 && index_ < last);
  btnLast->setEnabled(last >= 0 && index_ < last);
  // Zooming needs a picture to zoom.
  btnZoomIn->setEnabled(!picture_.empty());
  btnZoomOut->setEnabled(!picture_.empty());
}

void TfrmImage::goTo(int index) {
  index_ = index;
  updateButtons();
  showCurrentPicture();
}

void TfrmImage::firstPicture() {
  if (list_ && !list_->empty()) goTo(0);
}
void TfrmImage::previousPicture() {
  if (list_ && index_ > 0) goTo(index_ - 1);
}
void TfrmImage::nextPicture() {
  if (list_ && index_ + 1 < static_cast<int>(list_->size())) goTo(index_ + 1);
}
void TfrmImage::lastPicture() {
  if (list_ && !list_->empty()) goTo(static_cast<int>(list_->size()) - 1);
}

void TfrmImage::showCurrentPicture() {
  if (!list_ || list_->empty()) return;
  if (index_ >= static_cast<int>(list_->size())) {
    index_ = 0;
    updateButtons();
  }
  const PictureEntry& e = list_->entries()[static_cast<std::size_t>(index_)];
  edFolio->setText(fromUtf8(e.folio));
  edDescr->setText(fromUtf8(e.description));
  edImage->setText(fromUtf8(e.image));
  edDescr->setCursorPosition(0);
  edImage->setCursorPosition(0);
  const std::string path = folder_ + e.image;
  std::string reason;
  LoadedPicture next;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = next.load(path, reason);
  QApplication::restoreOverrideCursor();
  if (!ok) {
    // The fields show the entry; the picture and its zoom stay.
    showMessage("Impossible de charger l'image :\n", path + "\n" + reason, "Lirno", MessageKind::Warning, this);
    return;
  }
  picture_ = std::move(next);
  zoom_ = 1.0;
  redraw();
}

void TfrmImage::redraw() {
  drawing_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  double scale = 1;
  const QImage* bitmap = picture_.empty() ? nullptr : &picture_.bitmapFor(zoom_, &scale);
  const QSize size = displayedSize();
  imgPicture->setPicture(bitmap, scale, zoom_);
  imgPicture->resize(size);
  sclImage->horizontalScrollBar()->setValue(0);
  sclImage->verticalScrollBar()->setValue(0);
  imgPicture->update();
  btnZoomIn->setEnabled(!picture_.empty());
  btnZoomOut->setEnabled(!picture_.empty());
  QApplication::restoreOverrideCursor();
  drawing_ = false;
}

void TfrmImage::zoomIn() {
  if (picture_.empty() || zoom_ >= kMaxZoom) return;
  zoom_ = std::min(kMaxZoom, tenths(zoom_ + 0.1));
  redraw();
}

void TfrmImage::setZoom(double zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  redraw();
}

void TfrmImage::zoomOut() {
  if (picture_.empty() || zoom_ <= kMinZoom) return;
  zoom_ = std::max(kMinZoom, tenths(zoom_ - 0.1));
  redraw();
}

bool TfrmImage::eventFilter(QObject* watched, QEvent* event) {
  if (watched != imgPicture) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      if (drawing_) break;
      auto* m = static_cast<QMouseEvent*>(event);
      dragging_ = true;
      last_ = m->globalPosition().toPoint();
      imgPicture->setCursor(Qt::ClosedHandCursor);
      return true;
    }
    case QEvent::MouseMove: {
      if (!dragging_) break;
      auto* m = static_cast<QMouseEvent*>(event);
      const QPoint now = m->globalPosition().toPoint();
      QScrollBar* h = sclImage->horizontalScrollBar();
      QScrollBar* v = sclImage->verticalScrollBar();
      h->setValue(h->value() + (last_.x() - now.x()));
      v->setValue(v->value() + (last_.y() - now.y()));
      last_ = now;
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (!dragging_) break;
      dragging_ = false;
      imgPicture->unsetCursor();
      return true;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lirno
