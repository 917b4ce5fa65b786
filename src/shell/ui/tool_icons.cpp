#include "shell/ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace lirno {
namespace {

constexpr int kSize = 18;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kBlue(0x1f, 0x4e, 0x9c);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kPaper(0xfa, 0xfa, 0xf2);
const QColor kFolder(0xe8, 0xb8, 0x48);
const QColor kRed(0xc0, 0x20, 0x20);

void page(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void lines(QPainter& p, qreal x0, qreal x1, qreal y0, int n, qreal step) {
  p.setPen(QPen(kBlue, 1));
  for (int i = 0; i < n; ++i) p.drawLine(QPointF(x0, y0 + i * step), QPointF(x1, y0 + i * step));
}

void magnifier(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(QColor(0xd8, 0xec, 0xf8));
  p.drawEllipse(centre, radius, radius);
  const QPointF handle = centre + QPointF(radius * 0.7, radius * 0.7);
  p.drawLine(handle, handle + QPointF(4.5, 4.5));
}

void triangle(QPainter& p, bool right, qreal x, qreal y, qreal h) {
  QPolygonF t;
  if (right) {
    t << QPointF(x, y) << QPointF(x + h * 0.8, y + h / 2) << QPointF(x, y + h);
  } else {
    t << QPointF(x + h * 0.8, y) << QPointF(x, y + h / 2) << QPointF(x + h * 0.8, y + h);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kTeal);
  p.drawPolygon(t);
}

void arrowVertical(QPainter& p, bool up) {
  QPolygonF a;
  if (up) {
    a << QPointF(9, 2) << QPointF(16, 10) << QPointF(12, 10) << QPointF(12, 16) << QPointF(6, 16)
      << QPointF(6, 10) << QPointF(2, 10);
  } else {
    a << QPointF(9, 16) << QPointF(16, 8) << QPointF(12, 8) << QPointF(12, 2) << QPointF(6, 2)
      << QPointF(6, 8) << QPointF(2, 8);
  }
  p.setPen(QPen(kInk, 1));
  p.setBrush(kTeal);
  p.drawPolygon(a);
}

void draw(QPainter& p, ToolIcon kind) {
  switch (kind) {
    case ToolIcon::Open: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(kFolder.darker(115));
      p.drawRect(QRectF(1.5, 4.5, 14, 11));
      p.setBrush(kFolder);
      QPolygonF flap;
      flap << QPointF(1.5, 15.5) << QPointF(4.5, 8.5) << QPointF(17, 8.5) << QPointF(14.5, 15.5);
      p.drawPolygon(flap);
      break;
    }
    case ToolIcon::CloseAll:
      page(p, QRectF(3.5, 1.5, 11, 15));
      p.setPen(QPen(kRed, 2.2));
      p.drawLine(QPointF(5, 5), QPointF(13, 13));
      p.drawLine(QPointF(13, 5), QPointF(5, 13));
      break;
    case ToolIcon::Find:
      page(p, QRectF(1.5, 1.5, 10, 13));
      lines(p, 3.5, 9.5, 4.5, 3, 3);
      magnifier(p, QPointF(11, 10), 3.8);
      break;
    case ToolIcon::WordList:
      page(p, QRectF(2.5, 1.5, 13, 15));
      lines(p, 4.5, 13.5, 4.5, 4, 3);
      p.setPen(QPen(kRed, 1));
      p.drawLine(QPointF(7.5, 2), QPointF(7.5, 16));
      break;
    case ToolIcon::Save:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawRect(QRectF(1.5, 1.5, 15, 15));
      p.setBrush(kPaper);
      p.drawRect(QRectF(4.5, 1.5, 9, 6));
      p.setBrush(QColor(0xc8, 0xc8, 0xc8));
      p.drawRect(QRectF(4.5, 10.5, 9, 6));
      break;
    case ToolIcon::Up:
      arrowVertical(p, true);
      break;
    case ToolIcon::Down:
      arrowVertical(p, false);
      break;
    case ToolIcon::First:
      p.setPen(Qt::NoPen);
      p.setBrush(kTeal);
      p.drawRect(QRectF(3, 3, 2.5, 12));
      triangle(p, false, 6, 3, 12);
      break;
    case ToolIcon::Previous:
      triangle(p, false, 4.5, 3, 12);
      break;
    case ToolIcon::Next:
      triangle(p, true, 5.5, 3, 12);
      break;
    case ToolIcon::Last:
      triangle(p, true, 3, 3, 12);
      p.setPen(Qt::NoPen);
      p.setBrush(kTeal);
      p.drawRect(QRectF(12.5, 3, 2.5, 12));
      break;
    case ToolIcon::OpenHere:
      page(p, QRectF(1.5, 1.5, 15, 15));
      p.setPen(Qt::NoPen);
      p.setBrush(kTeal);
      p.drawRect(QRectF(2, 2, 14, 3));
      triangle(p, true, 6.5, 7, 8);
      break;
    case ToolIcon::OpenElsewhere:
      page(p, QRectF(1.5, 1.5, 11, 11));
      page(p, QRectF(5.5, 5.5, 11, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(kTeal);
      p.drawRect(QRectF(6, 6, 10, 2.5));
      break;
    case ToolIcon::Help: {
      p.setPen(QPen(kBlue, 1.5));
      p.setBrush(QColor(0xe8, 0xf0, 0xff));
      p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
      QFont f = p.font();
      f.setPixelSize(12);
      f.setBold(true);
      p.setFont(f);
      p.drawText(QRectF(1.5, 1.5, 15, 15), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case ToolIcon::ZoomOut:
    case ToolIcon::ZoomIn:
      magnifier(p, QPointF(7.5, 7.5), 5.5);
      p.setPen(QPen(kInk, 1.5));
      p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
      if (kind == ToolIcon::ZoomIn) p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
      break;
    case ToolIcon::Goto: {
      p.setPen(QPen(kInk, 1));
      p.setBrush(kRed);
      QPainterPath flag;
      flag.moveTo(5, 2);
      flag.lineTo(15, 5.5);
      flag.lineTo(5, 9);
      flag.closeSubpath();
      p.drawPath(flag);
      p.setPen(QPen(kInk, 1.5));
      p.drawLine(QPointF(5, 2), QPointF(5, 16.5));
      break;
    }
    case ToolIcon::Info: {
      p.setPen(QPen(kTeal, 1.5));
      p.setBrush(QColor(0xe8, 0xff, 0xf8));
      p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
      QFont f = p.font();
      f.setPixelSize(12);
      f.setBold(true);
      f.setItalic(true);
      p.setFont(f);
      p.drawText(QRectF(1.5, 1.5, 15, 15), Qt::AlignCenter, QStringLiteral("i"));
      break;
    }
    case ToolIcon::Concordance:
      // Lines of text with their middle word marked: a concordance.
      page(p, QRectF(1.5, 1.5, 15, 15));
      for (int i = 0; i < 4; ++i) {
        const qreal y = 4.5 + i * 3;
        p.setPen(QPen(kBlue, 1));
        p.drawLine(QPointF(3, y), QPointF(6.5, y));
        p.drawLine(QPointF(11.5, y), QPointF(15, y));
        p.setPen(QPen(kRed, 1.6));
        p.drawLine(QPointF(7.5, y), QPointF(10.5, y));
      }
      break;
    case ToolIcon::Dispersion:
      // Strips with ticks where the hits fall.
      for (int i = 0; i < 3; ++i) {
        const qreal y = 2.5 + i * 5;
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, y, 15, 3.5));
        p.setPen(QPen(kRed, 1.2));
        for (const qreal x : {3.5 + i * 2.0, 8.0 - i, 12.5 + i * 0.8}) p.drawLine(QPointF(x, y + 0.5), QPointF(x, y + 3));
      }
      break;
    case ToolIcon::ClosePane:
      p.setPen(QPen(kInk, 1.8));
      p.drawLine(QPointF(5, 5), QPointF(13, 13));
      p.drawLine(QPointF(13, 5), QPointF(5, 13));
      break;
  }
}

}  // namespace

QIcon toolIcon(ToolIcon kind) {
  QIcon icon;
  for (qreal scale : {1.0, 2.0}) {
    QPixmap pm(static_cast<int>(kSize * scale), static_cast<int>(kSize * scale));
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, kind);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace lirno
