#include "results/ui/concordance_model.h"

#include <QColor>
#include <QFont>

#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {

ConcordanceModel::ConcordanceModel(QObject* parent) : QAbstractTableModel(parent) {}

void ConcordanceModel::reset(Concordance c, std::vector<std::uint32_t> order) {
  beginResetModel();
  c_ = std::move(c);
  order_ = std::move(order);
  endResetModel();
}

void ConcordanceModel::setOrder(std::vector<std::uint32_t> order) {
  // Rows keep their number: only their content moves.
  order_ = std::move(order);
  if (!order_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

int ConcordanceModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int ConcordanceModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QString ConcordanceModel::shown(std::string_view bytes) {
  QString s = fromAnsi(bytes);
  for (QChar& ch : s) {
    if (ch == QLatin1Char('\n')) {
      ch = QChar(0x00B6);
    } else if (ch == QLatin1Char('\r')) {
      ch = QChar(0x21B5);
    } else if (ch == QLatin1Char('\t')) {
      ch = QLatin1Char(' ');
    }
  }
  return s;
}

QVariant ConcordanceModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ConcordanceLine& l = lineAt(index.row());
  const int col = index.column();
  switch (role) {
    case Qt::DisplayRole:
      switch (col) {
        case kLeft: return shown(c_.left(l));
        case kHit: return shown(c_.hit(l));
        case kRight: return shown(c_.right(l));
        case kDocument: return fromUtf8(c_.documents[l.document].name);
        case kReference: return QString::fromLatin1(placeReference(l.page, l.folio, l.verso).c_str());
        default: return {};
      }
    case Qt::TextAlignmentRole:
      if (col == kLeft) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      if (col == kHit) return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (col == kHit) return QColor(255, 0, 0);
      if (col == kDocument || col == kReference) return QColor(0x40, 0x40, 0x40);
      return {};
    case Qt::FontRole:
      if (col == kHit) {
        QFont f;
        f.setBold(true);
        return f;
      }
      return {};
    case Qt::ToolTipRole:
      if (!c_.documents[l.document].read) return fromUtf8(translate("Document illisible : pas de contexte"));
      return {};
    default: return {};
  }
}

QVariant ConcordanceModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const kHeaders[kColumns] = {"Gauche", "Pivot", "Droite", "Document", "Référence"};
  return section >= 0 && section < kColumns ? fromUtf8(translate(kHeaders[section])) : QVariant();
}

}  // namespace lirno
