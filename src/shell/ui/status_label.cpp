#include "shell/ui/status_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace lirno {

QString StatusLabel::fitted(const QString& line, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(line) <= width) return line;
  // The strings stand between the first and the last double quote.
  const qsizetype close = line.lastIndexOf(QLatin1Char('"'));
  if (line.startsWith(QLatin1Char('"')) && close > 0) {
    const QString strings = line.mid(1, close - 1);
    const QString rest = line.mid(close + 1);
    const int room = width - metrics.horizontalAdvance(QStringLiteral("\"\"") + rest);
    if (room > metrics.horizontalAdvance(QChar(0x2026))) {
      return QLatin1Char('"') + metrics.elidedText(strings, Qt::ElideRight, room) + QLatin1Char('"') + rest;
    }
  }
  return metrics.elidedText(line, Qt::ElideRight, width);
}

QString StatusLabel::shownText() const { return fitted(text(), fontMetrics(), contentsRect().width()); }

void StatusLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                        shownText(), foregroundRole());
}

bool StatusLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    // The whole line, when part of it is hidden.
    const auto* help = static_cast<QHelpEvent*>(event);
    if (shownText() != text()) {
      QToolTip::showText(help->globalPos(), text(), this);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QLabel::event(event);
}

}  // namespace lirno
