#pragma once
// Small helpers the forms share when they build their controls.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

namespace lirno {

// Gives `w` its control name (language files address controls by it).
template <class W>
W* named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// The forms' font: Arial (or the system's sans serif) at `pixels`.
inline QFont formFont(int pixels = 13) {
  QFont f(QStringLiteral("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixels);
  return f;
}

// The grids' title cells: silver, with a raised frame (light along the left
// and top, dark along the right and bottom). The caller draws the caption.
inline const QColor kTitleSilver(192, 192, 192);
inline const QColor kTitleShadow(128, 128, 128);

inline void drawRaisedFrame(QPainter& painter, const QRect& rect) {
  const QPoint bl = rect.bottomLeft(), tl = rect.topLeft(), tr = rect.topRight(), br = rect.bottomRight();
  painter.setPen(Qt::white);
  painter.drawLine(bl, tl);
  painter.drawLine(tl, tr);
  painter.setPen(kTitleShadow);
  painter.drawLine(tr, br);
  painter.drawLine(br, bl);
}

}  // namespace lirno
