#include "results/ui/concordance_controller.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "documents/rtf_reader.h"
#include "documents/ui/panes_controller.h"
#include "platform/file_write.h"
#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "results/dispersion.h"
#include "results/document_label.h"
#include "results/ui/concordance_model.h"
#include "results/ui/concordance_window.h"
#include "results/ui/dispersion_view.h"
#include "results/ui/results_controller.h"
#include "results/ui/target_model.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

QString T(const char* utf8) { return fromUtf8(translate(utf8)); }

const char kDispersionHint[] = "Survolez une bande : page et folio ; cliquez un trait : l'occurrence.";

// The documents of the view: the result pane's for targets without label,
// a pane's when it holds the path, and otherwise read beside the panes,
// which the view never changes.
class ViewDocuments : public DocumentSource {
 public:
  ViewDocuments(PanesController& panes, const Markers& markers) : panes_(panes), markers_(markers) {}

  const Document& current() override {
    PaneRecord* r = panes_.resultPane();
    return r ? r->document : panes_.currentDocument();
  }
  void closeAll() override { own_.clear(); }
  const Document* load(const std::string& path) override {
    for (int s = 0; s < PanesController::kPanes; ++s) {
      if (panes_.paneAt(s).open && panes_.paneAt(s).document.path == path) return &panes_.paneAt(s).document;
    }
    own_.clear();
    if (!readDocument(path, own_, markers_)) return nullptr;
    return &own_;
  }

 private:
  PanesController& panes_;
  const Markers& markers_;
  Document own_;
};

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

ConcordanceController::ConcordanceController(TfrmMain& frame) : WindowController(frame) {
  auto on = [&](std::initializer_list<const char*> names, auto slot) {
    for (const char* n : names) {
      if (QAction* a = frame.action(n)) connect(a, &QAction::triggered, this, slot);
      if (QToolButton* b = frame.button(n)) connect(b, &QToolButton::clicked, this, slot);
    }
  };
  on({"mnuConcordance", "btnConcordance"}, [this] { showConcordance(); });
  on({"mnuDispersion", "btnDispersion"}, [this] { showDispersion(); });
  chooseSaveFile = [this](const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(window_ ? static_cast<QWidget*>(window_.data()) : &this->frame(), caption,
                                        fromUtf8(this->frame().workbench().programFolder()), filter);
  };
}

ConcordanceController::~ConcordanceController() { delete window_.data(); }

TfrmConcordance* ConcordanceController::window() const { return window_.data(); }

PanesController& ConcordanceController::panes() const { return *frame().controller<PanesController>(); }
ResultsController& ConcordanceController::results() const { return *frame().controller<ResultsController>(); }

void ConcordanceController::formCreated() {
  // The results controller was attached first: its model exists.
  connect(&results().model(), &QAbstractItemModel::modelReset, this, [this] { resultsChanged(); });
  resultsChanged();
}

void ConcordanceController::resultsChanged() {
  const bool any = !results().targets().empty();
  frame().setCommandsEnabled({"mnuConcordance", "btnConcordance", "mnuDispersion", "btnDispersion"}, any);
  if (!window_ || !window_->isVisible()) return;
  // A sort of the grid keeps the records: the view stays as it is.
  const cTargetList& list = results().targets();
  bool same = list.size() == built_.size();
  for (std::size_t i = 0; same && i < list.size(); ++i) {
    same = std::find(built_.begin(), built_.end(), &list[i]) != built_.end();
  }
  if (!same) refresh();
}

TfrmConcordance& ConcordanceController::ensureWindow() {
  if (!window_) {
    window_ = new TfrmConcordance(&frame());
    wireWindow();
  }
  return *window_;
}

void ConcordanceController::wireWindow() {
  ConcordanceControls& u = window_->ui;
  connect(u.btnKwicRefresh, &QPushButton::clicked, this, [this] { refresh(); });
  connect(u.udKwicWidth, &QSpinBox::editingFinished, this, [this] { refresh(); });
  connect(u.chkKwicWholeWords, &QCheckBox::toggled, this, [this] { refresh(); });
  connect(u.chkKwicSelected, &QCheckBox::toggled, this, [this] { refresh(); });
  for (QComboBox* c : u.cmbKwicSort) {
    connect(c, &QComboBox::activated, this, [this] { resort(); });
  }
  connect(u.grdConcordance->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) {
            if (now.isValid()) showLine(now.row());
          });
  connect(u.btnKwicCopy, &QPushButton::clicked, this, [this] { copyLines(); });
  connect(u.mnuKwicCopy, &QAction::triggered, this, [this] { copyLines(); });
  connect(u.btnKwicExport, &QPushButton::clicked, this, [this] {
    const QString path = saveFile("Exporter la concordance", "TSV (*.tsv);;CSV (*.csv)");
    if (!path.isEmpty()) exportConcordance(path);
  });
  connect(u.btnCountsExport, &QPushButton::clicked, this, [this] {
    const QString path = saveFile("Exporter le tableau", "TSV (*.tsv);;CSV (*.csv)");
    if (!path.isEmpty()) exportCounts(path);
  });
  connect(u.btnDispPng, &QPushButton::clicked, this, [this] {
    const QString path = saveFile("Exporter l'image", "PNG (*.png)");
    if (!path.isEmpty()) exportPicture(path);
  });
  connect(u.btnDispSvg, &QPushButton::clicked, this, [this] {
    const QString path = saveFile("Exporter l'image", "SVG (*.svg)");
    if (!path.isEmpty()) exportPicture(path);
  });
  connect(u.pbxDispersion, &DispersionView::hitClicked, this, [this](int s, int h) { showHit(s, h); });
  connect(u.pbxDispersion, &DispersionView::hovered, this, [this](const QString& place) {
    if (window_) window_->ui.lblDispPlace->setText(place.isEmpty() ? T(kDispersionHint) : place);
  });
}

QString ConcordanceController::saveFile(const char* caption, const char* filter) {
  return chooseSaveFile ? chooseSaveFile(T(caption), QString::fromUtf8(filter)) : QString();
}

void ConcordanceController::showConcordance() {
  if (results().targets().empty()) return;
  TfrmConcordance& w = ensureWindow();
  // Only the grid's selection of several rows narrows the view by itself:
  // one selected row is where the grid stands, not a choice.
  std::vector<std::size_t> rows;
  for (const QModelIndex& i : results().grid()->selectionModel()->selectedRows()) {
    rows.push_back(static_cast<std::size_t>(i.row()));
  }
  {
    const QSignalBlocker block(w.ui.chkKwicSelected);
    w.ui.chkKwicSelected->setChecked(rows.size() > 1 && rows.size() < results().targets().size());
  }
  w.translateControls();
  w.ui.pgcConcordance->setCurrentIndex(0);
  w.show();
  w.raise();
  refresh();
}

void ConcordanceController::showDispersion() {
  showConcordance();
  if (window_) window_->ui.pgcConcordance->setCurrentIndex(1);
}

std::vector<std::size_t> ConcordanceController::chosenTargets() const {
  std::vector<std::size_t> rows;
  if (!window_ || !window_->ui.chkKwicSelected->isChecked()) return rows;
  for (const QModelIndex& i : results().grid()->selectionModel()->selectedRows()) {
    rows.push_back(static_cast<std::size_t>(i.row()));
  }
  std::sort(rows.begin(), rows.end());
  // A current row without a range counts as selected.
  if (rows.empty() && results().currentRow() > 0) rows.push_back(static_cast<std::size_t>(results().currentRow() - 1));
  return rows;
}

WordForm ConcordanceController::wordForm() const {
  const SearchRequest* rq = request_ ? request_() : nullptr;
  if (!rq) return {kResultUpper, false};
  return {rq->resultSpelling, rq->showSymbols && rq->resultSpelling < kResultReduced};
}

std::vector<KwicKey> ConcordanceController::sortKeys() const {
  std::vector<KwicKey> keys;
  if (!window_) return keys;
  for (QComboBox* c : window_->ui.cmbKwicSort) {
    if (c->currentIndex() > 0) keys.push_back(static_cast<KwicKey>(c->currentIndex() - 1));
  }
  return keys;
}

QString ConcordanceController::sortDescription() const {
  QStringList names;
  for (const KwicKey k : sortKeys()) names << T(kKwicKeyNames[static_cast<int>(k)]);
  if (names.isEmpty()) return T("Tri : document et position");
  return T("Tri : ") + names.join(QStringLiteral(", ")) + T(", puis document et position");
}

void ConcordanceController::refresh() {
  if (!window_) return;
  WaitCursor wait;
  TfrmConcordance& w = *window_;
  const cTargetList& list = results().targets();
  built_.clear();
  builtTexts_.clear();
  for (std::size_t i = 0; i < list.size(); ++i) {
    built_.push_back(&list[i]);
    builtTexts_.push_back(list[i].text.str());
  }
  const std::vector<std::size_t> chosen = chosenTargets();
  const RulesTables& rules = frame().workbench().rules();
  ViewDocuments documents(panes(), rules.markers);
  ConcordanceOptions options;
  options.width = w.ui.udKwicWidth->value();
  options.wholeWords = w.ui.chkKwicWholeWords->isChecked();
  Concordance c = buildConcordance(list, chosen, documents, rules, options);
  std::vector<std::uint32_t> order = sortConcordance(c, sortKeys(), rules, wordForm());
  int unread = 0;
  for (const ConcordanceDocument& d : c.documents) unread += d.read ? 0 : 1;
  const std::size_t targetCount = c.targets.size();
  const std::size_t lineCount = c.lines.size();
  w.model().reset(std::move(c), std::move(order));
  QString count = QString::number(lineCount) + (lineCount > 1 ? T(" occurrences de ") : T(" occurrence de ")) +
                  QString::number(targetCount) + (targetCount > 1 ? T(" cibles") : T(" cible"));
  if (unread > 0) count += QStringLiteral(" \u2014 ") + QString::number(unread) + T(" document(s) illisible(s)");
  w.ui.lblKwicCount->setText(count);
  w.ui.lblKwicSortOrder->setText(sortDescription());
  for (QWidget* b : std::initializer_list<QWidget*>{w.ui.btnKwicCopy, w.ui.btnKwicExport, w.ui.btnDispPng,
                                                    w.ui.btnDispSvg, w.ui.btnCountsExport}) {
    b->setEnabled(lineCount > 0);
  }
  w.ui.mnuKwicCopy->setEnabled(lineCount > 0);

  w.ui.pbxDispersion->setStrips(buildDispersion(list, chosen, documents));
  QStandardItemModel& m = *w.ui.folioCounts;
  m.removeRows(0, m.rowCount());
  const std::string current = fileNameOf(documents.current().path);
  for (const PlaceCount& p : countPlaces(list, chosen)) {
    QList<QStandardItem*> row;
    row << new QStandardItem(fromUtf8(p.document.empty() ? current : p.document))
        << new QStandardItem(p.folio ? T("folio") : T("page"))
        << new QStandardItem(QString::fromLatin1(placeName(p).c_str()));
    auto* n = new QStandardItem;
    n->setData(QVariant::fromValue<qlonglong>(p.count), Qt::DisplayRole);
    row << n;
    m.appendRow(row);
  }
  QHeaderView* header = w.ui.grdFolioCounts->horizontalHeader();
  if (header->sortIndicatorSection() >= 0) m.sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
  w.ui.grdFolioCounts->resizeColumnsToContents();
  w.ui.lblDispPlace->setText(T(kDispersionHint));
}

void ConcordanceController::resort() {
  if (!window_) return;
  WaitCursor wait;
  const RulesTables& rules = frame().workbench().rules();
  ConcordanceModel& m = window_->model();
  m.setOrder(sortConcordance(m.concordance(), sortKeys(), rules, wordForm()));
  window_->ui.lblKwicSortOrder->setText(sortDescription());
}

int ConcordanceController::currentIndexOf(std::size_t builtIndex) const {
  if (builtIndex >= built_.size()) return -1;
  const cTargetList& list = results().targets();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (&list[i] == built_[builtIndex] && list[i].text == builtTexts_[builtIndex]) return static_cast<int>(i);
  }
  return -1;
}

void ConcordanceController::showOccurrence(std::size_t builtIndex, std::uint32_t occurrence) {
  const int index = currentIndexOf(builtIndex);
  if (index < 0) {
    window_->ui.lblKwicCount->setText(T("Les résultats ont changé : actualisez la concordance."));
    return;
  }
  cTargetList& list = results().targets();
  const Target& t = list[static_cast<std::size_t>(index)];
  if (occurrence >= t.occurrences.size()) return;
  list.setCurrent(t, static_cast<std::int32_t>(occurrence));
  ResultsController& r = results();
  r.setCurrentRow(index + 1);
  if (!t.document.empty() && pathOfLabel(t.document.str()) != panes().documentPath()) {
    r.openHere();  // loads its document into the pane, then shows it
  } else {
    r.step(ResultsController::Step::None);
  }
}

void ConcordanceController::showLine(int row) {
  if (!window_ || row < 0 || row >= window_->model().rowCount()) return;
  const ConcordanceModel& m = window_->model();
  const ConcordanceLine& l = m.lineAt(row);
  showOccurrence(m.concordance().targets[l.target].listIndex, l.occurrence);
}

void ConcordanceController::showHit(int strip, int hit) {
  if (!window_) return;
  const auto& strips = window_->ui.pbxDispersion->strips();
  if (strip < 0 || strip >= static_cast<int>(strips.size())) return;
  const auto& hits = strips[static_cast<std::size_t>(strip)].hits;
  if (hit < 0 || hit >= static_cast<int>(hits.size())) return;
  const DispersionHit& h = hits[static_cast<std::size_t>(hit)];
  const StripPlace place = placeInStrip(strips[static_cast<std::size_t>(strip)], h.position);
  window_->ui.lblDispPlace->setText(fromUtf8(strips[static_cast<std::size_t>(strip)].name) + QStringLiteral("  ") +
                                    QString::fromLatin1(placeReference(place.page, place.folio, place.verso).c_str()));
  showOccurrence(h.target, h.occurrence);
}

void ConcordanceController::copyLines() {
  if (!window_) return;
  QTableView* g = window_->ui.grdConcordance;
  std::vector<int> rows;
  for (const QModelIndex& i : g->selectionModel()->selectedRows()) rows.push_back(i.row());
  if (rows.empty() && g->currentIndex().isValid()) rows.push_back(g->currentIndex().row());
  if (rows.empty()) return;
  std::sort(rows.begin(), rows.end());
  const ConcordanceModel& m = window_->model();
  std::vector<std::uint32_t> order;
  for (const int r : rows) order.push_back(m.order()[static_cast<std::size_t>(r)]);
  std::string table = concordanceTable(m.concordance(), order, TableFormat::Tsv, false, defaultConcordanceColumns());
  table.erase(0, table.find('\n') + 1);  // the lines without the header
  if (!table.empty()) table.pop_back();
  QGuiApplication::clipboard()->setText(QString::fromUtf8(table.data(), static_cast<qsizetype>(table.size())));
}

bool ConcordanceController::writeFile(const QString& path, const std::string& bytes) {
  const std::string p = toUtf8(path);
  // Replaced only once written whole: a full disk keeps the previous file.
  if (writeWholeFile(p, bytes)) return true;
  showMessage("Impossible d'écrire le fichier : ", p + "\n" + std::strerror(errno));
  return false;
}

bool ConcordanceController::exportConcordance(const QString& path) {
  if (!window_) return false;
  const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
  std::array<std::string, 7> columns;
  for (std::size_t i = 0; i < columns.size(); ++i) columns[i] = translate(kConcordanceColumns[i]);
  const ConcordanceModel& m = window_->model();
  return writeFile(path, concordanceTable(m.concordance(), m.order(), csv ? TableFormat::Csv : TableFormat::Tsv,
                                          window_->ui.chkKwicBom->isChecked(), columns));
}

bool ConcordanceController::exportCounts(const QString& path) {
  if (!window_) return false;
  const TableFormat format =
      path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? TableFormat::Csv : TableFormat::Tsv;
  const QStandardItemModel& m = *window_->ui.folioCounts;
  std::string out = window_->ui.chkKwicBom->isChecked() ? "\xEF\xBB\xBF" : "";
  // In the order the table shows.
  std::vector<std::string> fields;
  for (int c = 0; c < m.columnCount(); ++c) fields.push_back(toUtf8(m.headerData(c, Qt::Horizontal).toString()));
  out += tableRow(fields, format);
  for (int r = 0; r < m.rowCount(); ++r) {
    fields.clear();
    for (int c = 0; c < m.columnCount(); ++c) fields.push_back(toUtf8(m.item(r, c)->data(Qt::DisplayRole).toString()));
    out += tableRow(fields, format);
  }
  return writeFile(path, out);
}

bool ConcordanceController::exportPicture(const QString& path) {
  if (!window_) return false;
  const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
  const DispersionView& v = *window_->ui.pbxDispersion;
  const bool ok = svg ? v.saveSvg(path) : v.savePng(path);
  if (!ok) showMessage("Impossible d'écrire le fichier : ", toUtf8(path));
  return ok;
}

}  // namespace lirno
