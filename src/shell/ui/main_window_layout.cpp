// The controls of the main window, laid out as the form is designed
// (1024 x 605): tool bar, result panel, position bar, three document panes,
// bottom band (footnotes, glyph, folio pictures) and status line.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/ui/form_widgets.h"
#include "shell/ui/main_window.h"
#include "shell/ui/status_label.h"
#include "shell/ui/tool_icons.h"

namespace lirno {
namespace {

QFont arialPixels(int pixels) {
  QFont f(QStringLiteral("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixels);
  return f;
}

QWidget* panel(const char* name, QWidget* parent = nullptr) { return named(new QWidget(parent), name); }

QTableView* grid(const char* name, const std::array<int, 3>& widths, int fontPixels) {
  auto* g = named(new QTableView, name);
  g->setFont(arialPixels(fontPixels));
  g->setSelectionBehavior(QAbstractItemView::SelectRows);
  g->setSelectionMode(QAbstractItemView::ContiguousSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->verticalHeader()->hide();
  g->verticalHeader()->setDefaultSectionSize(18);
  g->horizontalHeader()->setMinimumSectionSize(4);
  g->setProperty("designColumnWidths", QVariant::fromValue(QList<int>(widths.begin(), widths.end())));
  return g;
}

}  // namespace

void TfrmMain::buildLayout() {
  auto* central = panel("pnlMain");
  auto* rootLayout = new QVBoxLayout(central);
  rootLayout->setContentsMargins(0, 0, 0, 0);
  rootLayout->setSpacing(0);
  setCentralWidget(central);

  // Tool bar.
  ui.pnlTop = panel("pnlTop");
  ui.pnlTop->setFixedHeight(29);
  rootLayout->addWidget(ui.pnlTop);
  buildToolButtons();

  // Result panel | document area.
  ui.Splitter = named(new QSplitter(Qt::Horizontal), "Splitter");
  ui.Splitter->setChildrenCollapsible(false);
  ui.Splitter->setHandleWidth(3);
  rootLayout->addWidget(ui.Splitter, 1);

  ui.pnlTarget = panel("pnlTarget");
  ui.pnlTarget->setMinimumWidth(1);
  ui.pnlTarget->setMaximumWidth(greatestTargetWidth_);
  auto* targetLayout = new QVBoxLayout(ui.pnlTarget);
  targetLayout->setContentsMargins(0, 0, 0, 0);
  ui.grdTarget = grid("grdTarget", kGridColumns, kGridFontPixels);
  ui.grdTarget->setContextMenuPolicy(Qt::CustomContextMenu);
  targetLayout->addWidget(ui.grdTarget);
  ui.Splitter->addWidget(ui.pnlTarget);
  connect(ui.Splitter, &QSplitter::splitterMoved, this, [this](int pos, int) {
    movedGrid_ = true;
    limitTargetPanel(pos);
  });

  ui.pnlDoc = panel("pnlDoc");
  auto* docLayout = new QVBoxLayout(ui.pnlDoc);
  docLayout->setContentsMargins(0, 0, 0, 0);
  docLayout->setSpacing(0);
  ui.Splitter->addWidget(ui.pnlDoc);
  ui.Splitter->setStretchFactor(1, 1);

  // Position bar.
  ui.pnlPos = panel("pnlPos");
  ui.pnlPos->setFixedHeight(30);
  auto* posLayout = new QHBoxLayout(ui.pnlPos);
  posLayout->setContentsMargins(4, 2, 4, 2);
  posLayout->setSpacing(4);
  auto field = [&](const char* label, const char* labelName, const char* name) {
    auto* l = named(new QLabel(QString::fromUtf8(label)), labelName);
    l->setFont(arialPixels(kGridFontPixels));
    auto* e = named(new QLineEdit, name);
    e->setMaxLength(4);
    e->setFixedWidth(44);
    e->setFont(arialPixels(kGridFontPixels));
    posLayout->addWidget(l);
    posLayout->addWidget(e);
    return e;
  };
  ui.edPage = field("Page", "lblPage", "edPage");
  ui.edFolio = field("Folio", "lblFolio", "edFolio");
  ui.edVign = field("Glyphe", "lblVign", "edVign");
  addButton(ui.pnlPos, "btnGoto", "Aller à la marque", toolIcon(ToolIcon::Goto));
  addButton(ui.pnlPos, "btnInfo", "Informations sur le document", toolIcon(ToolIcon::Info));
  addButton(ui.pnlPos, "btnTrad", "Charger la traduction", {}, "T");
  addButton(ui.pnlPos, "btnSwap", "Echanger les documents", {}, "X");
  addButton(ui.pnlPos, "btnHoriz", "Sens des fenêtres", {}, "H");
  posLayout->addStretch(1);
  docLayout->addWidget(ui.pnlPos);

  // Document panes | bottom band.
  ui.Splitter1 = named(new QSplitter(Qt::Vertical), "Splitter1");
  ui.Splitter1->setChildrenCollapsible(false);
  ui.Splitter1->setHandleWidth(3);
  docLayout->addWidget(ui.Splitter1, 1);

  ui.pnlCont = named(new QSplitter(Qt::Horizontal), "pnlCont");
  ui.pnlCont->setChildrenCollapsible(false);
  ui.pnlCont->setHandleWidth(3);
  for (int i = 0; i < 3; ++i) {
    const QString n = QString::number(i + 1);
    auto* pane = new QWidget;
    pane->setObjectName(QStringLiteral("pnlDoc") + n);
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);

    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("pnlName") + n);
    bar->setAutoFillBackground(true);
    bar->setFixedHeight(18);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(2, 0, 2, 0);
    barLayout->setSpacing(4);
    auto* close = new QToolButton;
    close->setObjectName(QStringLiteral("btnClose") + n);
    close->setIcon(toolIcon(ToolIcon::ClosePane));
    close->setAutoRaise(true);
    close->setFixedSize(16, 16);
    close->setProperty("tag", i);
    buttons_.push_back(close);
    auto* name = new QLabel;
    name->setObjectName(QStringLiteral("lblName") + n);
    name->setFont(arialPixels(kGridFontPixels));
    barLayout->addWidget(close);
    barLayout->addWidget(name, 1);

    auto* text = new QPlainTextEdit;
    text->setObjectName(QStringLiteral("reText") + n);
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setFont(arialPixels(kTextFontPixels));
    text->setContextMenuPolicy(Qt::CustomContextMenu);
    text->setProperty("tag", i);
    // Keep the selection visible when the pane loses the focus.
    QPalette pal = text->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    text->setPalette(pal);

    paneLayout->addWidget(bar);
    paneLayout->addWidget(text, 1);
    ui.pnlDocN[static_cast<std::size_t>(i)] = pane;
    ui.pnlName[static_cast<std::size_t>(i)] = bar;
    ui.btnCloseN[static_cast<std::size_t>(i)] = close;
    ui.lblName[static_cast<std::size_t>(i)] = name;
    ui.reText[static_cast<std::size_t>(i)] = text;
    ui.pnlCont->addWidget(pane);
    ui.pnlCont->handle(i)->setObjectName(QStringLiteral("splDoc") + n);
  }
  // The panes' splitter sits in a plain holder: a splitter placed directly in
  // another one shrinks to nothing while all its panes are closed.
  auto* contHolder = new QWidget;
  auto* contLayout = new QVBoxLayout(contHolder);
  contLayout->setContentsMargins(0, 0, 0, 0);
  contLayout->addWidget(ui.pnlCont);
  ui.Splitter1->addWidget(contHolder);

  ui.pnlBottom = named(new QSplitter(Qt::Horizontal), "pnlBottom");
  ui.pnlBottom->setChildrenCollapsible(false);
  ui.pnlBottom->setHandleWidth(3);
  ui.pnlNote = panel("pnlNote");
  auto* noteLayout = new QVBoxLayout(ui.pnlNote);
  noteLayout->setContentsMargins(0, 0, 0, 0);
  ui.reNote = named(new QTextBrowser, "reNote");
  ui.reNote->setFont(arialPixels(kTextFontPixels));
  ui.reNote->setOpenLinks(false);
  noteLayout->addWidget(ui.reNote);
  ui.pnlGlyph = panel("pnlGlyph");
  auto* glyphLayout = new QVBoxLayout(ui.pnlGlyph);
  glyphLayout->setContentsMargins(0, 0, 0, 0);
  ui.pbxGlyph = panel("pbxGlyph");
  glyphLayout->addWidget(ui.pbxGlyph);
  ui.pnlPicture = panel("pnlPicture");
  auto* pictureLayout = new QVBoxLayout(ui.pnlPicture);
  pictureLayout->setContentsMargins(0, 0, 0, 0);
  ui.grdPicture = grid("grdPicture", {58, 150, 99}, kGridFontPixels);
  pictureLayout->addWidget(ui.grdPicture);
  ui.pnlBottom->addWidget(ui.pnlNote);
  ui.pnlBottom->addWidget(ui.pnlGlyph);
  ui.pnlBottom->addWidget(ui.pnlPicture);
  ui.pnlBottom->handle(1)->setObjectName(QStringLiteral("splBott1"));
  ui.pnlBottom->handle(2)->setObjectName(QStringLiteral("splBott2"));
  ui.pnlBottom->setStretchFactor(2, 1);
  ui.pnlBottom->setSizes({333, 105, 500});
  ui.Splitter1->addWidget(ui.pnlBottom);
  ui.Splitter1->setStretchFactor(0, 1);
  ui.Splitter1->setSizes({400, 102});
  // splitterMoved comes from the user's drags only.
  connect(ui.Splitter1, &QSplitter::splitterMoved, this, [this] { movedFootnote_ = true; });
  connect(ui.pnlBottom, &QSplitter::splitterMoved, this, [this] { movedPicture_ = true; });

  // Status line.
  ui.plnStatus = panel("plnStatus");
  ui.plnStatus->setFixedHeight(19);
  auto* statusLayout = new QHBoxLayout(ui.plnStatus);
  statusLayout->setContentsMargins(4, 0, 4, 0);
  ui.lblStatus = named(new StatusLabel, "lblStatus");
  ui.lblStatus->setFont(arialPixels(kGridFontPixels));
  statusLayout->addWidget(ui.lblStatus, 1);
  rootLayout->addWidget(ui.plnStatus);

  ui.Splitter->setSizes({235, kDesignWidth - 235});
}

}  // namespace lirno
