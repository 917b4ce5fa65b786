#include "results/ui/concordance_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/ui/message.h"
#include "platform/ui/form_widgets.h"
#include "platform/ui/qt_text.h"
#include "results/concordance.h"
#include "results/ui/concordance_model.h"
#include "results/ui/dispersion_view.h"

namespace lirno {
namespace {

QString T(const char* utf8) { return fromUtf8(translate(utf8)); }

// The left context is right-aligned: what is cut off is its far (left) end.
class LeftContextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == ConcordanceModel::kLeft) option->textElideMode = Qt::ElideLeft;
  }
};

}  // namespace

TfrmConcordance::TfrmConcordance(QWidget* owner) : QWidget(owner, Qt::Window), model_(new ConcordanceModel(this)) {
  setObjectName(QStringLiteral("frmConcordance"));
  resize(1060, 560);
  auto* outer = new QVBoxLayout(this);
  ui.pgcConcordance = named(new QTabWidget(this), "pgcConcordance");
  outer->addWidget(ui.pgcConcordance, 1);

  // --- Concordance ---------------------------------------------------------
  ui.pnlKwic = named(new QWidget, "pnlKwic");
  auto* kwic = new QVBoxLayout(ui.pnlKwic);
  auto* options = new QHBoxLayout;
  ui.lblKwicWidth = named(new QLabel, "lblKwicWidth");
  ui.udKwicWidth = named(new QSpinBox, "udKwicWidth");
  ui.udKwicWidth->setRange(0, 2000);
  ui.udKwicWidth->setValue(50);
  ui.lblKwicWidth->setBuddy(ui.udKwicWidth);
  ui.chkKwicWholeWords = named(new QCheckBox, "chkKwicWholeWords");
  ui.chkKwicWholeWords->setChecked(true);
  ui.chkKwicSelected = named(new QCheckBox, "chkKwicSelected");
  ui.btnKwicRefresh = named(new QPushButton, "btnKwicRefresh");
  options->addWidget(ui.lblKwicWidth);
  options->addWidget(ui.udKwicWidth);
  options->addWidget(ui.chkKwicWholeWords);
  options->addSpacing(12);
  options->addWidget(ui.chkKwicSelected);
  options->addStretch(1);
  options->addWidget(ui.btnKwicRefresh);
  kwic->addLayout(options);

  auto* sort = new QHBoxLayout;
  ui.lblKwicSort = named(new QLabel, "lblKwicSort");
  sort->addWidget(ui.lblKwicSort);
  static const char* const kComboNames[3] = {"cmbKwicSort1", "cmbKwicSort2", "cmbKwicSort3"};
  for (int i = 0; i < 3; ++i) {
    ui.cmbKwicSort[static_cast<std::size_t>(i)] = named(new QComboBox, kComboNames[i]);
    sort->addWidget(ui.cmbKwicSort[static_cast<std::size_t>(i)]);
  }
  ui.lblKwicSort->setBuddy(ui.cmbKwicSort[0]);
  ui.lblKwicSortOrder = named(new QLabel, "lblKwicSortOrder");
  sort->addSpacing(12);
  sort->addWidget(ui.lblKwicSortOrder, 1);
  kwic->addLayout(sort);

  ui.grdConcordance = named(new QTableView, "grdConcordance");
  QTableView* g = ui.grdConcordance;
  g->setModel(model_);
  g->setItemDelegate(new LeftContextDelegate(g));
  g->setSelectionBehavior(QAbstractItemView::SelectRows);
  g->setSelectionMode(QAbstractItemView::ExtendedSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setWordWrap(false);
  g->setShowGrid(false);
  g->setAlternatingRowColors(true);
  g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 4);
  g->horizontalHeader()->setHighlightSections(false);
  g->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  const int em = g->fontMetrics().horizontalAdvance(QLatin1Char('n'));
  g->horizontalHeader()->resizeSection(ConcordanceModel::kLeft, 34 * em);
  g->horizontalHeader()->resizeSection(ConcordanceModel::kHit, 12 * em);
  g->horizontalHeader()->resizeSection(ConcordanceModel::kRight, 34 * em);
  g->horizontalHeader()->resizeSection(ConcordanceModel::kDocument, 14 * em);
  g->horizontalHeader()->setStretchLastSection(true);
  kwic->addWidget(g, 1);
  ui.mnuKwicCopy = new QAction(this);
  ui.mnuKwicCopy->setObjectName(QStringLiteral("mnuKwicCopy"));
  ui.mnuKwicCopy->setShortcut(QKeySequence::Copy);
  ui.mnuKwicCopy->setShortcutContext(Qt::WidgetShortcut);
  g->addAction(ui.mnuKwicCopy);
  g->setContextMenuPolicy(Qt::ActionsContextMenu);

  auto* bottom = new QHBoxLayout;
  ui.lblKwicCount = named(new QLabel, "lblKwicCount");
  ui.chkKwicBom = named(new QCheckBox, "chkKwicBom");
  ui.btnKwicCopy = named(new QPushButton, "btnKwicCopy");
  ui.btnKwicExport = named(new QPushButton, "btnKwicExport");
  bottom->addWidget(ui.lblKwicCount, 1);
  bottom->addWidget(ui.chkKwicBom);
  bottom->addWidget(ui.btnKwicCopy);
  bottom->addWidget(ui.btnKwicExport);
  kwic->addLayout(bottom);
  ui.pgcConcordance->addTab(ui.pnlKwic, QString());

  // --- Répartition ---------------------------------------------------------
  ui.pnlDispersion = named(new QWidget, "pnlDispersion");
  auto* disp = new QVBoxLayout(ui.pnlDispersion);
  ui.splDispersion = named(new QSplitter(Qt::Horizontal), "splDispersion");
  auto* left = new QWidget;
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  ui.scrDispersion = named(new QScrollArea, "scrDispersion");
  ui.scrDispersion->setWidgetResizable(true);
  ui.pbxDispersion = named(new DispersionView, "pbxDispersion");
  ui.scrDispersion->setWidget(ui.pbxDispersion);
  leftLayout->addWidget(ui.scrDispersion, 1);
  ui.lblDispPlace = named(new QLabel, "lblDispPlace");
  ui.lblDispPlace->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* pictureButtons = new QHBoxLayout;
  ui.btnDispPng = named(new QPushButton, "btnDispPng");
  ui.btnDispSvg = named(new QPushButton, "btnDispSvg");
  pictureButtons->addWidget(ui.lblDispPlace, 1);
  pictureButtons->addWidget(ui.btnDispPng);
  pictureButtons->addWidget(ui.btnDispSvg);
  leftLayout->addLayout(pictureButtons);
  ui.splDispersion->addWidget(left);

  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  ui.grdFolioCounts = named(new QTableView, "grdFolioCounts");
  ui.folioCounts = new QStandardItemModel(0, 4, this);
  ui.grdFolioCounts->setModel(ui.folioCounts);
  ui.grdFolioCounts->setSortingEnabled(true);
  ui.grdFolioCounts->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  ui.grdFolioCounts->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ui.grdFolioCounts->setSelectionBehavior(QAbstractItemView::SelectRows);
  ui.grdFolioCounts->verticalHeader()->setVisible(false);
  ui.grdFolioCounts->verticalHeader()->setDefaultSectionSize(ui.grdFolioCounts->fontMetrics().height() + 4);
  ui.grdFolioCounts->horizontalHeader()->setStretchLastSection(true);
  rightLayout->addWidget(ui.grdFolioCounts, 1);
  auto* countButtons = new QHBoxLayout;
  ui.btnCountsExport = named(new QPushButton, "btnCountsExport");
  countButtons->addStretch(1);
  countButtons->addWidget(ui.btnCountsExport);
  rightLayout->addLayout(countButtons);
  ui.splDispersion->addWidget(right);
  ui.splDispersion->setStretchFactor(0, 3);
  ui.splDispersion->setStretchFactor(1, 2);
  ui.splDispersion->setSizes({620, 400});
  disp->addWidget(ui.splDispersion, 1);
  ui.pgcConcordance->addTab(ui.pnlDispersion, QString());

  auto* close = new QHBoxLayout;
  ui.btnKwicClose = named(new QPushButton, "btnKwicClose");
  close->addStretch(1);
  close->addWidget(ui.btnKwicClose);
  outer->addLayout(close);
  connect(ui.btnKwicClose, &QPushButton::clicked, this, &QWidget::close);
  translateControls();
}

void TfrmConcordance::translateControls() {
  setWindowTitle(T("Concordance"));
  ui.pgcConcordance->setTabText(0, T("Concordance"));
  ui.pgcConcordance->setTabText(1, T("Répartition"));
  ui.lblKwicWidth->setText(T("&Contexte :"));
  ui.udKwicWidth->setSuffix(T(" caractères"));
  ui.chkKwicWholeWords->setText(T("Mots &entiers"));
  ui.chkKwicSelected->setText(T("Cibles &sélectionnées seulement"));
  ui.btnKwicRefresh->setText(T("&Actualiser"));
  ui.lblKwicSort->setText(T("&Tri :"));
  for (QComboBox* c : ui.cmbKwicSort) {
    const int keep = c->currentIndex();
    c->clear();
    c->addItem(T("(aucun)"));
    for (int k = 0; k < kKwicKeyCount; ++k) c->addItem(T(kKwicKeyNames[k]));
    c->setCurrentIndex(std::max(keep, 0));
  }
  ui.chkKwicBom->setText(T("&BOM pour tableur"));
  ui.btnKwicCopy->setText(T("Co&pier"));
  ui.mnuKwicCopy->setText(T("&Copier les lignes"));
  ui.btnKwicExport->setText(T("E&xporter..."));
  ui.btnDispPng->setText(T("Image &PNG..."));
  ui.btnDispSvg->setText(T("Image &SVG..."));
  ui.btnCountsExport->setText(T("Exporter le &tableau..."));
  ui.btnKwicClose->setText(T("&Fermer"));
  ui.folioCounts->setHorizontalHeaderLabels({T("Document"), T("Unité"), T("Lieu"), T("Occurrences")});
  model_->headerDataChanged(Qt::Horizontal, 0, ConcordanceModel::kColumns - 1);
}

}  // namespace lirno
