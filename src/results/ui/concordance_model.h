#pragma once
// The item model of the concordance grid: one row per line of a
// Concordance, in the order of its sort, with the columns "Gauche", "Pivot",
// "Droite", "Document" and "Référence". Line breaks inside a context are
// shown as visible signs.
#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

#include "results/concordance.h"

namespace lirno {

class ConcordanceModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kLeft = 0, kHit, kRight, kDocument, kReference, kColumns };

  explicit ConcordanceModel(QObject* parent = nullptr);

  // Takes the lines and their order (indexes into c.lines).
  void reset(Concordance c, std::vector<std::uint32_t> order);
  void setOrder(std::vector<std::uint32_t> order);

  const Concordance& concordance() const { return c_; }
  const std::vector<std::uint32_t>& order() const { return order_; }
  // The line shown in `row`.
  const ConcordanceLine& lineAt(int row) const { return c_.lines[order_[static_cast<std::size_t>(row)]]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // A context as shown: LF as "¶", CR as "↵", tab as a blank.
  static QString shown(std::string_view bytes);

 private:
  Concordance c_;
  std::vector<std::uint32_t> order_;
};

}  // namespace lirno
