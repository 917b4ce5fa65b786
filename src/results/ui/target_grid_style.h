#pragma once
// How grdTarget draws: a silver header with a raised frame and centred
// captions, rows white with black text or, when selected, navy with white
// text, text drawn 1 pixel from the left (right-aligned in the text column
// while the sort order is a right-to-left one). A text wider than its cell
// is shortened with an ellipsis (at its start when right-aligned, so that
// the endings the sort compares stay in view) and shown whole as tooltip.
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace lirno {

class TargetDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

  // The text of `index` as a cell `width` pixels wide shows it.
  static QString shownText(const QModelIndex& index, const QFontMetrics& metrics, int width);
};

class TargetHeader : public QHeaderView {
 public:
  explicit TargetHeader(QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The vertical offset of text in a cell: (font height + row height) / 2,
// the font height counted negative as a character height is.
int cellTextOffset(int fontPixels, int rowHeight);

}  // namespace lirno
