#pragma once
// TfrmMain, the main window: a frame that builds the layout, the menus and
// the tool buttons, and runs the creation sequence. The commands themselves
// belong to the subsystems' controllers (WindowController), which the
// composition attaches to each new window and which wire themselves to the
// named actions and buttons.
#include <QMainWindow>

#include <array>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

#include "shell/settings.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTableView;
class QTextBrowser;
class QTextEdit;
class QToolButton;

namespace lirno {

class TfrmMain;
class Workbench;
struct CommandLine;

// A subsystem's part of a main window: its state and its command handlers.
// Owned by the window (as a QObject child).
class WindowController : public QObject {
 public:
  explicit WindowController(TfrmMain& frame);
  TfrmMain& frame() const { return frame_; }

  // Creation sequence hooks, called in the order the controllers were added.
  // First window only: apply the command-line values this subsystem owns
  // (corpus, thesaurus, filter keys...) and empty the ones it consumed.
  virtual void applyCommandLine(CommandLine& /*commandLine*/) {}
  // The form exists (last step of the creation): set the initial state.
  virtual void formCreated() {}

 private:
  TfrmMain& frame_;
};

// The named controls of the window (objectName = the member's name).
struct MainControls {
  QWidget* pnlTop = nullptr;
  QTextEdit* reInfoParser = nullptr;  // invisible; reads information files as text
  QWidget* pnlTarget = nullptr;
  QTableView* grdTarget = nullptr;
  QSplitter* Splitter = nullptr;  // result panel | document area
  QWidget* pnlDoc = nullptr;
  QWidget* pnlPos = nullptr;
  QLineEdit* edPage = nullptr;
  QLineEdit* edFolio = nullptr;
  QLineEdit* edVign = nullptr;
  QSplitter* pnlCont = nullptr;  // the three panes; its handles are splDoc1..3
  std::array<QWidget*, 3> pnlDocN{};
  std::array<QWidget*, 3> pnlName{};
  std::array<QToolButton*, 3> btnCloseN{};
  std::array<QLabel*, 3> lblName{};
  std::array<QPlainTextEdit*, 3> reText{};
  QSplitter* Splitter1 = nullptr;  // document panes | bottom band
  QSplitter* pnlBottom = nullptr;  // its handles are splBott1, splBott2
  QWidget* pnlNote = nullptr;
  QTextBrowser* reNote = nullptr;
  QWidget* pnlGlyph = nullptr;
  QWidget* pbxGlyph = nullptr;
  QWidget* pnlPicture = nullptr;
  QTableView* grdPicture = nullptr;
  QWidget* plnStatus = nullptr;
  QLabel* lblStatus = nullptr;
  QMenu* popGrid = nullptr;
  QMenu* popText = nullptr;
};

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // Design values of the form.
  static constexpr int kDesignWidth = 1024;
  static constexpr int kDesignHeight = 605;
  static constexpr int kMinWidth = 600;
  static constexpr int kMinHeight = 420;
  static constexpr std::array<int, 3> kGridColumns = {38, 150, 137};
  static constexpr int kGridFontPixels = 13;
  static constexpr int kTextFontPixels = 16;

  explicit TfrmMain(Workbench& workbench, QWidget* parent = nullptr);
  ~TfrmMain() override;

  Workbench& workbench() const { return workbench_; }
  MainControls ui;

  // Menu items (main menu and pop-ups) and tool buttons by their names;
  // nullptr for an unknown name.
  QAction* action(std::string_view name) const;
  QToolButton* button(std::string_view name) const;
  // Enables or disables each named menu item or button.
  void setCommandsEnabled(std::initializer_list<std::string_view> names, bool enabled);
  const std::vector<QAction*>& actions() const { return actions_; }
  const std::vector<QToolButton*>& buttons() const { return buttons_; }
  QMenu* menu(std::string_view name) const;
  // Runs the named command once the event loop gets to it, enabled or not.
  void postCommand(std::string_view name);

  // Controllers. The window owns them.
  void addController(WindowController* controller);
  template <class T>
  T* controller() const {
    for (WindowController* c : controllers_) {
      if (auto* t = dynamic_cast<T*>(c)) return t;
    }
    return nullptr;
  }

  // Runs the creation sequence (settings for the first window, command line,
  // registration among the open windows, initial state).
  void create(bool first);
  bool isFirst() const { return first_; }

  // While the busy count is above 0, caret moves in the panes are the
  // program's own and are not handled.
  int busyCount() const { return busy_; }
  class Busy {
   public:
    explicit Busy(TfrmMain& w) : w_(w) { ++w_.busy_; }
    ~Busy() { --w_.busy_; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    TfrmMain& w_;
  };

  // The caption follows the main document: "Lirno - " and its path while
  // one is open (other windows look windows up by it), the form's own
  // caption (translated) otherwise. Called again after a language change.
  void showDocumentCaption(const std::string& mainDocumentPath);
  void refreshDocumentCaption() { showDocumentCaption(captionPath_); }

  // 26 plus the sum of the result grid's column widths.
  int greatestTargetWidth() const { return greatestTargetWidth_; }

  // The current window values, as saved at the end. A splitter the user has
  // not moved keeps the value the settings gave it.
  WindowSettings currentWindowSettings() const;
  void applyWindowSettings(const WindowSettings& s);

 private:
  void buildLayout();
  void buildMenus();
  void buildToolButtons();
  void applyInitialEnabling();
  void limitTargetPanel(int pos);
  QAction* addAction(QMenu* menu, const char* name, const char* caption,
                     const QKeySequence& shortcut = {});
  QToolButton* addButton(QWidget* bar, const char* name, const char* hint, const QIcon& icon,
                         const char* caption = nullptr);

  Workbench& workbench_;
  std::vector<QAction*> actions_;
  std::vector<QToolButton*> buttons_;
  std::vector<QMenu*> menus_;
  std::vector<WindowController*> controllers_;
  bool first_ = false;
  int busy_ = 0;
  std::string captionPath_;
  int greatestTargetWidth_ = 0;
  // The splitter values applied from the settings, and which splitters
  // the user has moved since (result panel, bottom band, footnote panel).
  std::optional<WindowSettings> applied_;
  bool movedGrid_ = false;
  bool movedFootnote_ = false;
  bool movedPicture_ = false;
};

// The hidden anchor form: the application's first form, never shown;
// closing it ends the program.
class TfrmStart : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmStart(QWidget* parent = nullptr);
};

}  // namespace lirno
