#include "documents/ui/picture_grid.h"

#include <QPainter>

#include "documents/picture_list.h"
#include "platform/ui/form_widgets.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

const QColor kNavy(0, 0, 0x80);

}  // namespace

PictureModel::PictureModel(const cPictureList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {
  retranslate();
}

void PictureModel::reload() {
  beginResetModel();
  endResetModel();
}

void PictureModel::marksChanged() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 2), {kMarkedRole, Qt::FontRole});
}

void PictureModel::retranslate() {
  const char* titles[3] = {"Folio", "Description", "Image"};
  for (int i = 0; i < 3; ++i) titles_[i] = fromUtf8(translate(titles[i]));
  emit headerDataChanged(Qt::Horizontal, 0, 2);
}

int PictureModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

int PictureModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant PictureModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const PictureEntry& e = list_.entries()[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return fromUtf8(index.column() == 0 ? e.folio : index.column() == 1 ? e.description : e.image);
    case kMarkedRole:
      return e.marked;
    default:
      return {};
  }
}

QVariant PictureModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 2) return {};
  return titles_[section];
}

void PictureDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QRect r = option.rect;
  painter->save();
  painter->setClipRect(r);
  painter->fillRect(r, selected ? kNavy : Qt::white);
  painter->setPen(selected ? Qt::white : Qt::black);
  QFont f = option.font;
  f.setBold(index.data(PictureModel::kMarkedRole).toBool());
  painter->setFont(f);
  const QFontMetrics fm(f);
  const int top = r.top() + std::max(0, (r.height() - fm.height()) / 2);
  painter->drawText(r.left() + 1, top + fm.ascent(), index.data(Qt::DisplayRole).toString());
  painter->restore();
}

PictureHeader::PictureHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(false);
  setHighlightSections(false);
}

void PictureHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (!rect.isValid()) return;
  painter->save();
  painter->setClipRect(rect);
  painter->fillRect(rect, kTitleSilver);
  painter->setPen(Qt::black);
  painter->setFont(font());
  const QString text = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
  painter->drawText(rect, Qt::AlignCenter, text);
  drawRaisedFrame(*painter, rect);
  painter->restore();
}

}  // namespace lirno
