#include "documents/ui/glyph_box.h"

#include <QPainter>

#include "documents/document.h"
#include "documents/ui/metafile_painter.h"

namespace lirno {

GlyphBox::GlyphBox(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pbxGlyph"));
  setAutoFillBackground(false);
}

void GlyphBox::setPicture(const GlyphPicture* picture) {
  if (picture) {
    metafile_.load(*picture);
  } else {
    metafile_ = wmf::Metafile{};
  }
  update();
}

void GlyphBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!metafile_.valid()) return;
  const wmf::RectF t = wmf::glyphTarget(metafile_.naturalSize(), width(), height());
  painter.setClipRect(rect());
  drawMetafile(painter, metafile_, QRectF(QPointF(t.left, t.top), QPointF(t.right, t.bottom)));
}

}  // namespace lirno
