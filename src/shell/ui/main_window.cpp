#include "shell/ui/main_window.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "shell/ui/workbench.h"

namespace lirno {

WindowController::WindowController(TfrmMain& frame) : QObject(&frame), frame_(frame) {}

TfrmStart::TfrmStart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmStart"));
  setVisible(false);
}

TfrmMain::TfrmMain(Workbench& workbench, QWidget* parent)
    : QMainWindow(parent), workbench_(workbench) {
  setObjectName(QStringLiteral("frmMain"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Lirno"));
  setMinimumSize(kMinWidth, kMinHeight);
  resize(kDesignWidth, kDesignHeight);
  greatestTargetWidth_ = 26;
  for (int w : kGridColumns) greatestTargetWidth_ += w;

  buildLayout();
  buildMenus();
  applyInitialEnabling();
}

TfrmMain::~TfrmMain() { workbench_.windowDestroyed(this); }

void TfrmMain::showDocumentCaption(const std::string& mainDocumentPath) {
  captionPath_ = mainDocumentPath;
  if (!mainDocumentPath.empty()) {
    setWindowTitle(QStringLiteral("Lirno - ") + fromUtf8(mainDocumentPath));
    return;
  }
  const ControlLine line = workbench_.language().findControlLine("frmMain:frmMain:");
  setWindowTitle(line.found && !line.caption.empty() ? fromUtf8(line.caption) : QStringLiteral("Lirno"));
}

QAction* TfrmMain::action(std::string_view name) const {
  const QString n = fromUtf8(name);
  for (QAction* a : actions_) {
    if (a->objectName() == n) return a;
  }
  return nullptr;
}

QToolButton* TfrmMain::button(std::string_view name) const {
  const QString n = fromUtf8(name);
  for (QToolButton* b : buttons_) {
    if (b->objectName() == n) return b;
  }
  return nullptr;
}

QMenu* TfrmMain::menu(std::string_view name) const {
  const QString n = fromUtf8(name);
  for (QMenu* m : menus_) {
    if (m->objectName() == n) return m;
  }
  return nullptr;
}

void TfrmMain::setCommandsEnabled(std::initializer_list<std::string_view> names, bool enabled) {
  for (std::string_view n : names) {
    if (QAction* a = action(n)) a->setEnabled(enabled);
    if (QToolButton* b = button(n)) b->setEnabled(enabled);
  }
}

void TfrmMain::postCommand(std::string_view name) {
  if (QAction* a = action(name)) {
    QMetaObject::invokeMethod(this, [a] { emit a->triggered(false); }, Qt::QueuedConnection);
  }
}

void TfrmMain::addController(WindowController* controller) { controllers_.push_back(controller); }

void TfrmMain::create(bool first) {
  first_ = first;
  Workbench& wb = workbench_;
  if (first) {
    const SettingsChoice choice =
        chooseSettingsFile(wb.programFolder(), wb.fallbackSettingsPath(), /*designTop=*/0);
    wb.setSettingsPath(choice.path);
    const IniFile readIni(choice.readPath);
    const ShellSettings shell = readShellSettings(readIni);
    wb.setShellSettings(shell);

    WindowSettings current;
    current.state = 2;
    const WindowSettings s = readWindowSettings(readIni, current);
    applyWindowSettings(s);

    // Neither folder takes the settings: said once, the work goes on.
    if (choice.copyToFallback) {
      wb.writeSettings([&](const IniFile& ini) { return writeShellSettings(ini, shell); }, this);
    }

    CommandLine& cl = wb.commandLine();
    // The rules file: the command line's, else the settings'; a bare name is
    // in the program folder. A file that cannot be read leaves the tables
    // empty, and every search would then find nothing as if that were its
    // result: the user is told, over the window, before any posted command.
    const std::string rules = inFolder(wb.programFolder(), cl.rulesFile.empty() ? shell.rules : cl.rulesFile);
    if (!wb.rules().loadRules(rules)) {
      QMetaObject::invokeMethod(
          this, [this, rules] { showMessage(kRulesUnreadable, rules, "Lirno", MessageKind::Warning, this); },
          Qt::QueuedConnection);
    }
    wb.rules().loadVariantRules(rules);

    // The language subsystem loads and empties the language file.
    cl.rulesFile.clear();
    for (WindowController* c : controllers_) c->applyCommandLine(cl);

    // The open and search commands the command line asks for run once the
    // event loop starts, in this order, whatever their enabling.
    if (!cl.fileToOpen.empty()) postCommand("mnuOpen");
    if (cl.searchStrings) postCommand("mnuFind");
  }
  wb.windowCreated(this);
  for (WindowController* c : controllers_) c->formCreated();
  ui.lblStatus->clear();
}

WindowSettings TfrmMain::currentWindowSettings() const {
  WindowSettings s;
  if (isMaximized()) {
    s.state = 2;
  } else if (isMinimized()) {
    s.state = 1;
  } else {
    s.state = 0;
  }
  const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
  s.top = g.top();
  s.left = g.left();
  s.height = g.height();
  s.width = g.width();
  // The layout bounds the sizes it is given (the bottom band has a least
  // height): reading them back would store other values than the user's.
  s.gridSplitter = applied_ && !movedGrid_ ? applied_->gridSplitter : ui.pnlTarget->width();
  s.footnoteSplitter = applied_ && !movedFootnote_ ? applied_->footnoteSplitter : ui.pnlBottom->height();
  s.pictureSplitter = applied_ && !movedPicture_ ? applied_->pictureSplitter : ui.pnlNote->width();
  return s;
}

void TfrmMain::applyWindowSettings(const WindowSettings& s) {
  if (s.state == 0) {
    setWindowState(Qt::WindowNoState);
    setGeometry(s.left, s.top, std::max(s.width, kMinWidth), std::max(s.height, kMinHeight));
  } else {
    move(0, 0);
    setWindowState(s.state == 1 ? Qt::WindowMinimized : Qt::WindowMaximized);
  }
  const int target = std::clamp(s.gridSplitter, 2, greatestTargetWidth_);
  ui.Splitter->setSizes({target, std::max(1, width() - target)});
  // The bottom band's height and the footnote panel's width carry the two
  // other splitter values.
  const int bottom = std::max(1, s.footnoteSplitter);
  ui.Splitter1->setSizes({std::max(1, height() - bottom), bottom});
  ui.pnlBottom->setSizes({std::max(1, s.pictureSplitter), 105, std::max(1, width() - s.pictureSplitter)});
  applied_ = s;
  movedGrid_ = movedFootnote_ = movedPicture_ = false;
}

void TfrmMain::limitTargetPanel(int pos) {
  // The result panel is never wider than the grid needs; within 50 pixels of
  // that width it snaps to it.
  const int greatest = greatestTargetWidth_;
  int width = pos;
  if (width > greatest || width >= greatest - 50) width = greatest;
  if (width < 1) width = 1;
  if (width != pos) {
    const QSignalBlocker block(ui.Splitter);
    ui.Splitter->setSizes({width, std::max(1, ui.Splitter->width() - width)});
  }
}

void TfrmMain::applyInitialEnabling() {
  setCommandsEnabled(
      {"mnuFind", "btnFind", "mnuWord", "btnWord", "mnuInfo", "btnInfo", "mnuGoto", "btnGoto",
       "mnuCut", "mnuCopy", "mnuDel", "mnuAll", "mnuGrdCut", "mnuGrdCopy", "mnuGrdDel",
       "mnuGrdAll", "mnuTxtCopy", "mnuUp", "mnuDown", "mnuFirst", "mnuPrev", "mnuNext",
       "mnuLast", "btnUp", "btnDown", "btnFirst", "btnPrev", "btnNext", "btnLast",
       "mnuSortText", "mnuSortNum", "mnuSortDocText", "mnuSortDocNum", "mnuGrdSortText",
       "mnuGrdSortNum", "mnuGrdSortDocText", "mnuGrdSortDocNum", "mnuSaveTarget",
       "btnSaveTarget", "btnGrdOpen", "btnGrdOpenNew", "mnuGrdOpen", "mnuGrdOpenNew", "btnTrad",
       "btnSwap", "btnHoriz", "mnuTEdit", "mnuTSave", "mnuTSaveAs", "mnuTClose", "mnuCEdit",
       "mnuCSave", "mnuCSaveAs", "mnuCClose"},
      false);
}

}  // namespace lirno
