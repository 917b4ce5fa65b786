#include "results/ui/target_grid_style.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "platform/ui/form_widgets.h"

namespace lirno {
namespace {

const QColor kNavy(0, 0, 128);

int fontPixels(const QFont& f) {
  return f.pixelSize() > 0 ? f.pixelSize() : QFontMetrics(f).height();
}

}  // namespace

int cellTextOffset(int fontPixels, int rowHeight) { return (-fontPixels + rowHeight) / 2; }

QString TargetDelegate::shownText(const QModelIndex& index, const QFontMetrics& metrics, int width) {
  const QString text = index.data(Qt::DisplayRole).toString();
  const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  // One pixel of margin on the side the text starts from, one on the other.
  return metrics.elidedText(text, (align & Qt::AlignRight) ? Qt::ElideLeft : Qt::ElideRight, width - 2);
}

bool TargetDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip || !index.isValid()) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  const QString text = index.data(Qt::DisplayRole).toString();
  if (shownText(index, QFontMetrics(option.font), option.rect.width()) != text) {
    QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
  } else {
    QToolTip::hideText();
  }
  return true;
}

void TargetDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QRect r = option.rect;
  painter->save();
  painter->setClipRect(r);
  painter->fillRect(r, selected ? kNavy : Qt::white);
  painter->setPen(selected ? Qt::white : Qt::black);
  painter->setFont(option.font);
  const QFontMetrics fm(option.font);
  const QString text = shownText(index, fm, r.width());
  const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  const int x = (align & Qt::AlignRight) ? r.right() + 1 - fm.horizontalAdvance(text) - 1 : r.left() + 1;
  const int top = r.top() + std::max(0, cellTextOffset(fontPixels(option.font), r.height()));
  painter->drawText(x, top + fm.ascent(), text);
  painter->restore();
}

TargetHeader::TargetHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setSortIndicatorShown(false);
}

void TargetHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (!rect.isValid()) return;
  painter->save();
  painter->setClipRect(rect);
  painter->fillRect(rect, kTitleSilver);
  painter->setPen(Qt::black);
  painter->setFont(font());
  const QFontMetrics fm(font());
  // A caption wider than its column is shortened, never cut at both ends.
  const QString text = fm.elidedText(
      model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString(), Qt::ElideRight,
      rect.width() - 2);
  const int x = rect.left() + (rect.width() - fm.horizontalAdvance(text)) / 2;
  const int top = rect.top() + std::max(0, cellTextOffset(fontPixels(font()), rect.height()));
  painter->drawText(x, top + fm.ascent(), text);
  drawRaisedFrame(*painter, rect);
  painter->restore();
}

}  // namespace lirno
