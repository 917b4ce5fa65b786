#pragma once
// grdPicture: the folio pictures of the main document, one row per entry
// under a title row ("Folio", "Description", "Image"); rows of the folio
// under the caret in bold, the selected row navy with white text.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace lirno {

class cPictureList;

class PictureModel : public QAbstractTableModel {
 public:
  static constexpr int kMarkedRole = Qt::UserRole + 1;

  explicit PictureModel(const cPictureList& list, QObject* parent = nullptr);

  // The list was rebuilt or cleared.
  void reload();
  // Marks changed: the rows are drawn again.
  void marksChanged();
  // The title texts (translated) are read again.
  void retranslate();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const cPictureList& list_;
  QString titles_[3];
};

class PictureDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

// The title row: silver, centred black text, raised border.
class PictureHeader : public QHeaderView {
 public:
  explicit PictureHeader(QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace lirno
