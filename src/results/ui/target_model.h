#pragma once
// The item model of grdTarget: one row per target of a cTargetList, in list
// order, and the three columns "#", "Texte", "Document". The model reads the
// list; it never owns or changes it. Whoever changes the list does so
// between beginChange() and endChange(), which views see as one reset.
#include <QAbstractTableModel>

#include "search/targets.h"

namespace lirno {

class TargetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kCount = 0, kText = 1, kDocument = 2 };

  explicit TargetModel(const cTargetList& targets, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // Changes nest: the reset reaches the views when the outermost one ends.
  void beginChange();
  void endChange();
  bool changing() const { return changes_ > 0; }

  class Change {
   public:
    explicit Change(TargetModel& m) : m_(m) { m_.beginChange(); }
    ~Change() { m_.endChange(); }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

   private:
    TargetModel& m_;
  };

  // The text column right-aligned (the right-to-left sort orders).
  void setTextRightAligned(bool right);
  bool textRightAligned() const { return rightAligned_; }

 private:
  const cTargetList& targets_;
  int changes_ = 0;
  bool rightAligned_ = false;
};

}  // namespace lirno
