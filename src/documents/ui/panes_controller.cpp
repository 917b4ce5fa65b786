#include "documents/ui/panes_controller.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

#include "documents/document_loader.h"
#include "documents/rtf_reader.h"
#include "documents/ui/glyph_box.h"
#include "documents/ui/pane_text.h"
#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "shell/settings.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kTeal(0x00, 0x80, 0x80);

// The open dialog's filter, as the form gives it ("description|pattern|..."),
// in Qt's form. The descriptions are shown as they stand; the patterns are
// those that follow them.
QString qtFilter(std::string_view filter) {
  QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

constexpr std::string_view kOpenFilter =
    "Rich text file (*.rft)|*.rtf|Text file (*.txt)|*.txt|Any file (*.*)|*.*";

std::string chooseWithDialog(QWidget* parent, const std::string& folder) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The descriptions already name their files: the patterns stay hidden.
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setNameFilter(qtFilter(kOpenFilter));
  dialog.setDefaultSuffix(QStringLiteral("rtf"));
  dialog.setDirectory(fromUtf8(folder));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return toUtf8(dialog.selectedFiles().constFirst());
}

int pointsOf(const QFont& f) {
  if (f.pointSizeF() > 0) return static_cast<int>(std::lround(f.pointSizeF()));
  // The form sets pixel sizes: 16 pixels are the design's 12 points.
  return static_cast<int>(std::lround(f.pixelSize() * 72.0 / 96.0));
}

}  // namespace

PaneRecord::PaneRecord() = default;
PaneRecord::~PaneRecord() = default;

PanesController::PanesController(TfrmMain& frame) : WindowController(frame) {
  buildRecords();

  // The frame's placeholder gives way to the box that draws glyph pictures.
  MainControls& ui = frame.ui;
  glyphBox_ = new GlyphBox;
  if (ui.pnlGlyph && ui.pnlGlyph->layout()) {
    delete ui.pnlGlyph->layout()->replaceWidget(ui.pbxGlyph, glyphBox_);
  }
  delete ui.pbxGlyph;
  ui.pbxGlyph = glyphBox_;

  wireCommands();
}

PanesController::~PanesController() = default;

void PanesController::buildRecords() {
  MainControls& ui = frame().ui;
  for (int i = 0; i < kPanes; ++i) {
    const auto k = static_cast<std::size_t>(i);
    PaneRecord& r = records_[k];
    r.tag = i;
    r.editor = ui.reText[k];
    r.panel = ui.pnlDocN[k];
    r.nameBar = ui.pnlName[k];
    r.nameLabel = ui.lblName[k];
    r.closeButton = ui.btnCloseN[k];
    r.splitter = ui.pnlCont->handle(ui.pnlCont->indexOf(r.panel));
    r.colouring = std::make_unique<RangeColouring>(r.editor->document());
    r.editor->document()->setUndoRedoEnabled(false);
  }
  current_ = &records_[0];
}

void PanesController::wireCommands() {
  TfrmMain& w = frame();
  auto onButton = [&](const char* name, auto slot) {
    if (QToolButton* b = w.button(name)) connect(b, &QToolButton::clicked, this, slot);
  };
  auto onAction = [&](const char* name, auto slot) {
    if (QAction* a = w.action(name)) connect(a, &QAction::triggered, this, slot);
  };
  onAction("mnuOpen", [this] { openCommand(); });
  onButton("btnOpen", [this] { openDocument(); });
  onButton("btnClose", [this] { closeDocumentsCommand(); });
  onButton("btnTrad", [this] { loadTranslations(); });
  onButton("btnSwap", [this] { swapPanes(); });
  onButton("btnHoriz", [this] { toggleDirection(); });
  onButton("btnZoomIn", [this] { zoomIn(); });
  onButton("btnZoomOut", [this] { zoomOut(); });
  onButton("btnGoto", [this] { gotoMark(); });
  onAction("mnuGoto", [this] { gotoMark(); });

  for (PaneRecord& r : records_) {
    // The close button of a name bar closes the slot that holds its pane.
    QToolButton* close = r.closeButton;
    connect(close, &QToolButton::clicked, this, [this, close] {
      for (int s = 0; s < kPanes; ++s) {
        if (paneAt(s).closeButton == close) {
          closePane(s);
          break;
        }
      }
      arrangePanes();
    });
    connect(r.editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { caretMoved(); });
    connect(r.editor, &QPlainTextEdit::selectionChanged, this, [this] { caretMoved(); });
    QPlainTextEdit* editor = r.editor;
    connect(editor, &QWidget::customContextMenuRequested, this, [this, editor](const QPoint& at) {
      if (QMenu* m = frame().ui.popText) m->popup(editor->viewport()->mapToGlobal(at));
    });
    editor->installEventFilter(this);
  }
  w.ui.pnlCont->installEventFilter(this);

  connect(w.ui.edPage, &QLineEdit::textEdited, this, [this] { fieldEdited(GotoKind::Page); });
  connect(w.ui.edFolio, &QLineEdit::textEdited, this, [this] { fieldEdited(GotoKind::Folio); });
  connect(w.ui.edVign, &QLineEdit::textEdited, this, [this] { fieldEdited(GotoKind::Glyph); });
  // Enter in a field just typed in goes to its mark, as the command does
  // while it is enabled.
  for (QLineEdit* field : {w.ui.edPage, w.ui.edFolio, w.ui.edVign}) {
    connect(field, &QLineEdit::returnPressed, this, [this] {
      if (const QAction* a = frame().action("mnuGoto"); a && a->isEnabled()) gotoMark();
    });
  }
}

void PanesController::formCreated() {
  resultPane_ = nullptr;
  makeCurrent(0);
  closePane(2);
  closePane(1);
  closePane(0);
  arrangePanes();
  created_ = true;
}

bool PanesController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (PaneRecord* r = recordOfEditor(watched)) {
      makeCurrent(slotOf(*r));
      emit editItemsChanged();
    }
  } else if (event->type() == QEvent::Resize && watched == frame().ui.pnlCont && created_) {
    // The splitter sizes itself first; then the panes get equal shares.
    const bool handled = static_cast<QObject*>(frame().ui.pnlCont)->event(event);
    arrangePanes();
    return handled;
  }
  return WindowController::eventFilter(watched, event);
}

PaneRecord* PanesController::recordOfEditor(const QObject* editor) {
  for (PaneRecord& r : records_) {
    if (r.editor == editor) return &r;
  }
  return nullptr;
}

// --- Pane records ---------------------------------------------------------

PaneRecord& PanesController::paneAt(int slot) {
  return records_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(slot)])];
}

int PanesController::slotOf(const PaneRecord& pane) const {
  for (int s = 0; s < kPanes; ++s) {
    if (&records_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(s)])] == &pane) return s;
  }
  return -1;
}

void PanesController::paintNameBar(PaneRecord& pane, const QColor& colour) {
  QPalette p = pane.nameBar->palette();
  p.setColor(QPalette::Window, colour);
  pane.nameBar->setPalette(p);
}

void PanesController::makeCurrent(int slot) {
  if (current_) paintNameBar(*current_, kSilver);
  PaneRecord& pane = paneAt(slot);
  paintNameBar(pane, kTeal);
  current_ = &pane;
  marked_ = true;
}

void PanesController::showPane(int slot) {
  PaneRecord& pane = paneAt(slot);
  if (pane.open) return;
  pane.panel->setVisible(true);
  pane.editor->setVisible(true);
  pane.open = true;
}

void PanesController::closePane(int slot) {
  PaneRecord& pane = paneAt(slot);
  if (&pane == resultPane_) {
    // The results refer to this document: they go before it does.
    emit resultPaneClosed();
    resultPane_ = nullptr;
  }
  {
    TfrmMain::Busy busy(frame());
    pane.panel->setVisible(false);
    pane.editor->setVisible(false);
    pane.colouring->forget();
    pane.editor->clear();
    pane.nameLabel->clear();
    forgetShownPictureOf(pane);
    pane.document.clear();
  }
  pane.open = false;
  if (pane.panel == frame().ui.pnlDocN[0]) {
    // The caption and "T" speak of the main document, which is gone.
    frame().showDocumentCaption({});
    frame().setCommandsEnabled({"btnTrad"}, false);
  }
  if (&pane == current_ && marked_) {
    marked_ = false;
    if (shownPicture_) showGlyph(nullptr);
  }
  swapStep_ = 0;
}

void PanesController::forgetShownPictureOf(const PaneRecord& pane) {
  // The picture belongs to the document about to be cleared.
  if (shownPicturePane_ == &pane) showGlyph(nullptr);
}

void PanesController::closeAllDocuments() {
  documentPath_.clear();
  informationPath_.clear();
  for (int s = 0; s < kPanes; ++s) closePane(s);
  frame().ui.reNote->clear();
  // Searching and the word list need a document or a corpus; the corpus
  // owner, told below, enables them again while one is open.
  frame().setCommandsEnabled({"btnFind", "mnuFind", "btnWord", "mnuWord"}, false);
  frame().setCommandsEnabled({"btnInfo", "mnuInfo", "btnGoto", "mnuGoto"}, false);
  emit documentsClosed();
}

void PanesController::arrangePanes() {
  QSplitter* cont = frame().ui.pnlCont;
  int n = 0;
  for (const PaneRecord& r : records_) n += r.open ? 1 : 0;
  frame().setCommandsEnabled({"btnSwap", "btnHoriz"}, n > 1);
  // The splitter shows the panes in slot order.
  for (int s = 0; s < kPanes; ++s) {
    PaneRecord& r = paneAt(s);
    if (cont->indexOf(r.panel) != s) cont->insertWidget(s, r.panel);
  }
  for (int s = 0; s < kPanes; ++s) paneAt(s).panel->setVisible(paneAt(s).open);
  // The splitter learns of shown and hidden panes through a posted layout
  // request; take it now so that the shares below leave room for the
  // splitter handles that are really visible.
  QCoreApplication::sendPostedEvents(cont, QEvent::LayoutRequest);
  if (n == 0) {
    frame().setCommandsEnabled({"btnTrad"}, false);
    return;
  }
  const int extent = cont->orientation() == Qt::Horizontal ? cont->width() : cont->height();
  const std::vector<int> shares = paneShares(extent, n);
  QList<int> sizes;
  std::size_t k = 0;
  for (int s = 0; s < kPanes; ++s) sizes << (paneAt(s).open ? std::max(0, shares[k++]) : 0);
  cont->setSizes(sizes);
}

void PanesController::swapPanes() {
  std::array<bool, kPanes> open{};
  for (std::size_t i = 0; i < records_.size(); ++i) open[i] = records_[i].open;
  int n = 0;
  for (bool o : open) n += o ? 1 : 0;
  if (n < 2) return;
  swapStep_ = lirno::swapPanes(slots_, open, swapStep_);
  arrangePanes();
}

void PanesController::toggleDirection() {
  sideBySide_ = !sideBySide_;
  if (QToolButton* b = frame().button("btnHoriz")) {
    b->setText(sideBySide_ ? QStringLiteral("H") : QStringLiteral("V"));
  }
  frame().ui.pnlCont->setOrientation(sideBySide_ ? Qt::Horizontal : Qt::Vertical);
  arrangePanes();
}

int PanesController::zoomPoints() const { return pointsOf(records_[0].editor->font()); }

void PanesController::zoomIn() {
  const int now = zoomPoints();
  if (zoomedIn(now) != now) applyZoom(zoomedIn(now));
}

void PanesController::zoomOut() {
  const int now = zoomPoints();
  if (zoomedOut(now) != now) applyZoom(zoomedOut(now));
}

void PanesController::applyZoom(int points) {
  // A widget's font is its text's font; selections and carets stay.
  TfrmMain::Busy busy(frame());
  std::vector<QWidget*> targets;
  for (PaneRecord& r : records_) targets.push_back(r.editor);
  targets.push_back(frame().ui.reNote);
  for (QWidget* w : targets) {
    QFont f = w->font();
    f.setPointSize(points);
    w->setFont(f);
  }
}

// --- Documents ------------------------------------------------------------

bool PanesController::loadIntoCurrentPane(const std::string& path, bool reportErrors,
                                          bool display) {
  PaneRecord& pane = *current_;
  forgetShownPictureOf(pane);
  const DocumentLoad outcome = loadDocument(path, pane.document, frame().workbench().rules().markers);
  if (!outcome.loaded()) {
    lastLoadFailure_ = outcome;
    if (reportErrors) showMessage(outcome.message, outcome.detail, "Lirno", MessageKind::Warning, &frame());
    return false;
  }
  pane.document.path = path;
  if (!display) return true;

  this->display(pane);
  shownPage_ = 0;
  frame().ui.reNote->clear();
  frame().setCommandsEnabled({"btnFind", "mnuFind", "btnWord", "mnuWord", "btnGoto", "mnuGoto",
                              "mnuInfo"},
                             true);
  emit documentDisplayed(slotOf(pane));
  if (pane.panel == frame().ui.pnlDocN[0]) {
    frame().showDocumentCaption(path);
  }
  pane.nameLabel->setText(fromUtf8(baseNameOf(path)));
  return true;
}

void PanesController::display(PaneRecord& pane) {
  TfrmMain::Busy busy(frame());
  QPlainTextEdit* e = pane.editor;
  e->setVisible(false);
  pane.colouring->forget();
  e->setPlainText(paneText(pane.document));  // no colour: the text is all black
  QTextCursor c(e->document());
  c.setPosition(0);
  e->setTextCursor(c);
  e->setVisible(true);
}

void PanesController::enableTranslation(const std::string& path) {
  const TranslationPaths t = translationPaths(path);
  frame().setCommandsEnabled({"btnTrad"}, fileExists(t.first) || fileExists(t.second));
}

void PanesController::loadTranslations() {
  const TranslationPaths t = translationPaths(documentPath_);
  bool loaded[kPanes] = {false, false, false};
  if (fileExists(t.first)) {
    makeCurrent(1);
    loaded[1] = loadIntoCurrentPane(t.first, true, true);
  }
  if (fileExists(t.second)) {
    makeCurrent(2);
    loaded[2] = loadIntoCurrentPane(t.second, true, true);
  }
  makeCurrent(0);
  frame().setCommandsEnabled({"btnTrad"}, false);
  if (loaded[1] || loaded[2]) {
    for (int s = 1; s < kPanes; ++s) {
      if (loaded[s]) showPane(s);
    }
    frame().setCommandsEnabled({"btnSwap", "btnHoriz"}, true);
    arrangePanes();
  }
  translationLink_ = true;
}

void PanesController::openDocument() {
  Workbench& wb = frame().workbench();
  const std::string& folder = wb.shellSettings().documentPath;
  const std::string initial = folder.empty() ? wb.programFolder() : folder;
  const std::string chosen = chooser_ ? chooser_(&frame(), initial) : chooseWithDialog(&frame(), initial);
  if (chosen.empty()) return;
  closeAllDocuments();
  showPane(0);
  makeCurrent(0);
  arrangePanes();
  // The path keeps its case: this file system tells "A.rtf" from "a.rtf".
  documentPath_ = chosen;
  wb.shellSettings().documentPath = folderOf(chosen);
  loadIntoCurrentPane(documentPath_, true, true);
  enableTranslation(documentPath_);
  wb.writeSettings(
      [&](const IniFile& ini) {
        return writePathSetting(ini, "DocumentPath", wb.shellSettings().documentPath);
      },
      &frame());
}

void PanesController::openCommand() {
  CommandLine& cl = frame().workbench().commandLine();
  if (cl.fileToOpen.empty()) return openDocument();
  documentPath_ = cl.fileToOpen;
  cl.fileToOpen.clear();
  showPane(0);
  makeCurrent(0);
  arrangePanes();
  loadIntoCurrentPane(documentPath_, true, true);
  enableTranslation(documentPath_);
}

void PanesController::closeDocumentsCommand() {
  closeAllDocuments();
  emit closeDocumentsCommandRan();
}

// --- Selection and colouring -----------------------------------------------

void PanesController::selectRange(PaneRecord& pane, std::int32_t start, std::int32_t length) {
  TfrmMain::Busy busy(frame());
  const Document& doc = pane.document;
  const std::int64_t end = static_cast<std::int64_t>(start) + length;
  const int anchor = cursorOfPosition(doc, start);
  const int to = cursorOfPosition(doc, static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                           end, 0, std::numeric_limits<std::int32_t>::max())));
  QTextCursor c(pane.editor->document());
  c.setPosition(anchor);
  c.setPosition(to, QTextCursor::KeepAnchor);
  pane.editor->setTextCursor(c);
}

std::int32_t PanesController::selectionStart(const PaneRecord& pane) const {
  return positionOfCursor(pane.document, pane.editor->textCursor().selectionStart());
}

std::int32_t PanesController::selectionLength(const PaneRecord& pane) const {
  const QTextCursor c = pane.editor->textCursor();
  return positionOfCursor(pane.document, c.selectionEnd()) -
         positionOfCursor(pane.document, c.selectionStart());
}

void PanesController::colourRanges(PaneRecord& pane, const std::vector<PositionRange>& sorted,
                                   const QColor& colour) {
  std::vector<std::pair<int, int>> cursors;
  cursors.reserve(sorted.size());
  for (const PositionRange& r : sorted) {
    cursors.emplace_back(cursorOfPosition(pane.document, r.start),
                         cursorOfPosition(pane.document, r.start + std::max(0, r.length)));
  }
  QTextCharFormat f;
  f.setForeground(colour);
  pane.colouring->colour(std::move(cursors), f);
}

void PanesController::clearColours(PaneRecord& pane) { pane.colouring->clear(); }

}  // namespace lirno
