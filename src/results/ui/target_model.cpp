#include "results/ui/target_model.h"

#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "results/document_label.h"

namespace lirno {

TargetModel::TargetModel(const cTargetList& targets, QObject* parent)
    : QAbstractTableModel(parent), targets_(targets) {}

int TargetModel::rowCount(const QModelIndex& parent) const {
  // While a change runs the list may not match what the views were told.
  if (parent.isValid() || changes_ > 0) return 0;
  return static_cast<int>(targets_.size());
}

int TargetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant TargetModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  const Target& t = targets_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kCount: return QString::number(t.occurrences.size());
        case kText: return fromAnsi(t.text);
        default: return fromUtf8(documentFileNameOf(t.document));
      }
    case Qt::TextAlignmentRole: {
      const bool right = index.column() == kText && rightAligned_;
      return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop));
    }
    default: return {};
  }
}

QVariant TargetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // The caption is its own tooltip, for a column too narrow to show it.
  if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  static const char* const kHeaders[] = {"#", "Texte", "Document"};
  if (section < 0 || section > 2) return {};
  // Translated each time, so that a language loaded later shows at once.
  return fromUtf8(translate(kHeaders[section]));
}

void TargetModel::beginChange() {
  if (changes_++ == 0) beginResetModel();
}

void TargetModel::endChange() {
  if (--changes_ == 0) endResetModel();
}

void TargetModel::setTextRightAligned(bool right) {
  if (right == rightAligned_) return;
  rightAligned_ = right;
  if (rowCount() > 0) {
    emit dataChanged(index(0, kText), index(rowCount() - 1, kText), {Qt::TextAlignmentRole});
  }
}

}  // namespace lirno
