#pragma once
// The document panes of a main window: the three pane records, which one is
// current, opening and closing documents, the arrangement of the panes,
// translations kept aligned, zoom, and the position bar (page, folio and
// glyph of the caret, footnotes of the page, glyph picture, go to mark).
//
// Carets and selections offered here are in document positions (a line
// break counts 2); the editors' own cursor positions are converted through
// the document's line table (pane_text.h).
#include <QColor>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "documents/document.h"
#include "documents/document_loader.h"
#include "documents/panes.h"
#include "shell/ui/main_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSplitterHandle;
class QToolButton;

namespace lirno {

class GlyphBox;
class RangeColouring;

// One document pane: its widgets and its document.
struct PaneRecord {
  PaneRecord();
  ~PaneRecord();
  PaneRecord(const PaneRecord&) = delete;
  PaneRecord& operator=(const PaneRecord&) = delete;

  int tag = 0;  // 0, 1, 2: the editor reText1..3
  QPlainTextEdit* editor = nullptr;
  QWidget* panel = nullptr;  // pnlDoc1..3
  QWidget* nameBar = nullptr;
  QLabel* nameLabel = nullptr;
  QToolButton* closeButton = nullptr;
  QSplitterHandle* splitter = nullptr;  // splDoc1..3
  bool open = false;
  Document document;
  std::unique_ptr<RangeColouring> colouring;
};

class PanesController : public WindowController {
  Q_OBJECT

 public:
  static constexpr int kPanes = 3;
  static constexpr int kDesignPoints = 12;

  explicit PanesController(TfrmMain& frame);
  ~PanesController() override;

  void formCreated() override;

  // --- Pane records -----------------------------------------------------
  // The record shown in display slot `slot` (0 left or top).
  PaneRecord& paneAt(int slot);
  int slotOf(const PaneRecord& pane) const;
  // The pane marked current, or nullptr. Even with none marked, the current
  // editor and document are those of the last current pane.
  PaneRecord* currentPane() const { return marked_ ? current_ : nullptr; }
  PaneRecord& currentRecord() const { return *current_; }
  QPlainTextEdit* currentEditor() const { return current_->editor; }
  Document& currentDocument() const { return current_->document; }

  void makeCurrent(int slot);
  void showPane(int slot);
  // Empties the pane and hides it; when it held the result pane's document,
  // resultPaneClosed() is emitted first.
  void closePane(int slot);
  void closeAllDocuments();
  void arrangePanes();

  // Reads `path` (UTF-8) into the current pane's document; with `display`
  // shows it. A file that cannot be read gives the file-not-found message
  // when `reportErrors` and false.
  bool loadIntoCurrentPane(const std::string& path, bool reportErrors, bool display);
  // Why the last load that failed did (its message and detail).
  const DocumentLoad& lastLoadFailure() const { return lastLoadFailure_; }
  // "T" is enabled exactly when a translation of `path` exists.
  void enableTranslation(const std::string& path);
  void loadTranslations();
  // Selects, in every other open pane, the paragraph whose number is that
  // of `caretPosition` in the current pane.
  void alignTranslations(int sourceTag, std::int32_t caretPosition);

  void swapPanes();
  void toggleDirection();
  void zoomIn();
  void zoomOut();
  // Font size of the panes in points.
  int zoomPoints() const;

  // --- Commands -----------------------------------------------------------
  void openDocument();           // btnOpen: the open dialog
  void openCommand();            // mnuOpen: the command-line file, else the dialog
  void closeDocumentsCommand();  // btnClose
  void gotoMark();               // btnGoto, mnuGoto

  // --- State --------------------------------------------------------------
  const std::string& documentPath() const { return documentPath_; }
  void setDocumentPath(std::string path) { documentPath_ = std::move(path); }
  const std::string& informationPath() const { return informationPath_; }
  void setInformationPath(std::string path) { informationPath_ = std::move(path); }
  bool sideBySide() const { return sideBySide_; }
  bool translationLink() const { return translationLink_; }
  int swapStep() const { return swapStep_; }
  GotoKind gotoKind() const { return gotoKind_; }
  std::int32_t shownPage() const { return shownPage_; }
  const GlyphPicture* shownPicture() const { return shownPicture_; }
  GlyphBox* glyphBox() const { return glyphBox_; }

  // The pane whose document the current results refer to (set by the
  // search), or nullptr.
  PaneRecord* resultPane() const { return resultPane_; }
  void setResultPane(PaneRecord* pane) { resultPane_ = pane; }

  // --- Selection and colouring (document positions) -----------------------
  // Selects `length` positions from `start` in the pane's editor (a negative
  // length selects backwards) without running the position display.
  void selectRange(PaneRecord& pane, std::int32_t start, std::int32_t length);
  std::int32_t selectionStart(const PaneRecord& pane) const;
  std::int32_t selectionLength(const PaneRecord& pane) const;
  // Colours the ranges (sorted by start) of the pane's text, replacing any
  // previous colouring; clearColours puts the whole text back to black.
  void colourRanges(PaneRecord& pane, const std::vector<PositionRange>& sorted,
                    const QColor& colour);
  void clearColours(PaneRecord& pane);

  // The open dialog; tests replace it. Returns the chosen path (UTF-8) or
  // an empty string.
  using FileChooser = std::function<std::string(QWidget* parent, const std::string& folder)>;
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

 signals:
  // The result pane's document is being closed: its results must go.
  void resultPaneClosed();
  // A document was displayed in the pane of `slot` (after Load into current
  // pane): its information file and folio pictures follow.
  void documentDisplayed(int slot);
  // Close all documents ran (searching and the word list are disabled by
  // then): the folio picture list is to be cleared, an open corpus enables
  // those commands again.
  void documentsClosed();
  // "Fermer les documents" closed the documents: the results, the
  // thesaurus and the corpus follow.
  void closeDocumentsCommandRan();
  // The position display wrote this folio ("12v") into `edFolio`.
  void folioDisplayed(const QString& folio);
  // A pane got the focus or its caret moved: the edit items are to be
  // recomputed.
  void editItemsChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DocumentLoad lastLoadFailure_;
  void buildRecords();
  void wireCommands();
  void display(PaneRecord& pane);
  void paintNameBar(PaneRecord& pane, const QColor& colour);
  void applyZoom(int points);
  void forgetShownPictureOf(const PaneRecord& pane);
  PaneRecord* recordOfEditor(const QObject* editor);

  // Position bar (position_display.cpp).
  void caretMoved();
  void positionDisplay();
  void fieldEdited(GotoKind kind);
  void setFieldsWhite();
  void showGlyph(const GlyphPicture* picture);

  std::array<PaneRecord, kPanes> records_;
  std::array<int, kPanes> slots_{0, 1, 2};  // slot -> record
  PaneRecord* current_ = nullptr;
  bool marked_ = false;
  PaneRecord* resultPane_ = nullptr;
  bool sideBySide_ = true;
  bool translationLink_ = false;
  int swapStep_ = 0;
  GotoKind gotoKind_ = GotoKind::None;
  std::int32_t shownPage_ = 0;
  const GlyphPicture* shownPicture_ = nullptr;
  const PaneRecord* shownPicturePane_ = nullptr;
  std::string documentPath_;
  std::string informationPath_;
  bool created_ = false;
  GlyphBox* glyphBox_ = nullptr;
  FileChooser chooser_;
};

}  // namespace lirno
