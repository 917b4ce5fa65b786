#pragma once
// TfrmConcordance: the concordance of a main window's results and, on its
// second page, where the hits fall ("Répartition") beside the counts per
// folio and page. One per main window, shown beside it; the controller
// (concordance_controller.h) fills it and runs its commands.
#include <QWidget>

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QStandardItemModel;
class QTableView;
class QTabWidget;

namespace lirno {

class ConcordanceModel;
class DispersionView;

struct ConcordanceControls {
  QTabWidget* pgcConcordance = nullptr;
  // Concordance page
  QWidget* pnlKwic = nullptr;
  QLabel* lblKwicWidth = nullptr;
  QSpinBox* udKwicWidth = nullptr;
  QCheckBox* chkKwicWholeWords = nullptr;
  QCheckBox* chkKwicSelected = nullptr;
  QPushButton* btnKwicRefresh = nullptr;
  QLabel* lblKwicSort = nullptr;
  std::array<QComboBox*, 3> cmbKwicSort{};
  QLabel* lblKwicSortOrder = nullptr;
  QTableView* grdConcordance = nullptr;
  QLabel* lblKwicCount = nullptr;
  QCheckBox* chkKwicBom = nullptr;
  QPushButton* btnKwicCopy = nullptr;
  QAction* mnuKwicCopy = nullptr;  // Ctrl+C and the grid's pop-up
  QPushButton* btnKwicExport = nullptr;
  // Répartition page
  QWidget* pnlDispersion = nullptr;
  QSplitter* splDispersion = nullptr;
  QScrollArea* scrDispersion = nullptr;
  DispersionView* pbxDispersion = nullptr;
  QLabel* lblDispPlace = nullptr;
  QPushButton* btnDispPng = nullptr;
  QPushButton* btnDispSvg = nullptr;
  QTableView* grdFolioCounts = nullptr;
  QStandardItemModel* folioCounts = nullptr;
  QPushButton* btnCountsExport = nullptr;
  QPushButton* btnKwicClose = nullptr;
};

class TfrmConcordance : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmConcordance(QWidget* owner);
  ConcordanceControls ui;
  ConcordanceModel& model() const { return *model_; }

  // The captions, through the language file; run each time it is shown.
  void translateControls();

 private:
  ConcordanceModel* model_;
};

}  // namespace lirno
