// The document panes in a real main window (offscreen): opening, the
// position bar, go to mark, zoom, swapping, translations, the result pane,
// selections and colouring in document positions.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

#include "app/composition.h"
#include "documents/ui/glyph_box.h"
#include "documents/ui/pane_text.h"
#include "documents/ui/panes_controller.h"
#include "documents/wmf_builder.h"
#include "platform/ini_file.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "shell/ui/workbench.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::TempFolder;
using lirno::testing::WmfBuilder;

// Marker characters before any rules file: page, verso, glyph.
const std::string kPage = "\xb1";
const std::string kVerso = "\xbe";
const std::string kGlyph = "\xad";

std::string hex(const std::vector<std::uint8_t>& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

// A red square glyph, 1 x 1 inch (96 pixels).
std::string redSquarePicture() {
  const auto wmf = WmfBuilder()
                       .windowExt(100, 100)
                       .pen(5, 0, 0)  // no outline
                       .select(0)
                       .brush(0, 0xFF0000)
                       .select(1)
                       .rectangle(0, 0, 100, 100)
                       .finish();
  return "{\\pict\\wmetafile8\\picw2540\\pich2540 " + hex(wmf) + "}";
}

class PanesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setMessageHandler([this](const MessageRequest& r) {
      messages_.push_back(r.text);
      return MessageAnswer::Ok;
    });
  }
  void TearDown() override {
    setMessageHandler({});
    if (window_) window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void start(const std::string& args = {}) {
    wb_ = std::make_unique<Workbench>(program_.path(), parseCommandLine(args));
    wb_->setFallbackSettingsPath(home_.file("lirno/Lirno.ini"));
    composeWorkbench(*wb_);
    window_ = wb_->start();
    window_->setWindowState(Qt::WindowNoState);
    window_->resize(1024, 605);
    panes_ = window_->controller<PanesController>();
    ASSERT_NE(panes_, nullptr);
  }

  // Opens `name` of the documents folder through the open command.
  void open(const std::string& name) {
    panes_->setFileChooser([this, name](QWidget*, const std::string& folder) {
      chooserFolder_ = folder;
      return docs_.file(name);
    });
    panes_->openDocument();
  }

  QPlainTextEdit* editor(int slot) { return panes_->paneAt(slot).editor; }

  // A caret move as the user makes it (not under the busy count).
  void moveCaret(int slot, std::int32_t position) {
    PaneRecord& p = panes_->paneAt(slot);
    QTextCursor c(p.editor->document());
    c.setPosition(cursorOfPosition(p.document, position));
    p.editor->setTextCursor(c);
  }

  QString field(QLineEdit* f) const { return f->text(); }
  MainControls& ui() { return window_->ui; }

  TempFolder program_{"panes_prog"};
  TempFolder home_{"panes_home"};
  TempFolder docs_{"panes_docs"};
  std::unique_ptr<Workbench> wb_;
  TfrmMain* window_ = nullptr;
  PanesController* panes_ = nullptr;
  std::vector<std::string> messages_;
  std::string chooserFolder_;
};

TEST_F(PanesTest, OpeningShowsTheDocumentInTheFirstPaneAndRemembersItsFolder) {
  start();
  docs_.write("ms12.txt", "Folio " + kPage + "one\r\ntwo\r\n");
  open("ms12.txt");
  EXPECT_EQ(chooserFolder_, program_.path());  // no document folder yet
  PaneRecord& p = panes_->paneAt(0);
  EXPECT_TRUE(p.open);
  EXPECT_EQ(panes_->currentPane(), &p);
  EXPECT_EQ(p.nameLabel->text(), QStringLiteral("ms12"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Lirno - ") + fromUtf8(docs_.file("ms12.txt")));
  EXPECT_EQ(p.editor->toPlainText(), QStringLiteral("Folio \u00b1one\ntwo\n\n"));
  EXPECT_EQ(p.editor->textCursor().position(), 0);
  EXPECT_TRUE(window_->button("btnGoto")->isEnabled());
  EXPECT_TRUE(window_->action("mnuFind")->isEnabled());
  EXPECT_FALSE(panes_->paneAt(1).open);
  EXPECT_EQ(IniFile(wb_->settingsPath()).readString("Lirno", "DocumentPath", ""), docs_.path());

  // The next open starts in that folder.
  open("ms12.txt");
  EXPECT_EQ(chooserFolder_, docs_.path());
}

TEST_F(PanesTest, AMissingDocumentIsReportedAndLeavesTheFirstPaneEmpty) {
  start();
  open("absent.rtf");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Fichier non trouvé :\n" + docs_.file("absent.rtf"));
  EXPECT_TRUE(panes_->paneAt(0).open);
  EXPECT_EQ(panes_->currentPane(), &panes_->paneAt(0));
  EXPECT_TRUE(editor(0)->toPlainText().isEmpty());
  EXPECT_FALSE(window_->button("btnGoto")->isEnabled());
}

TEST_F(PanesTest, AForeignFormatOrUnconvertibleUtf8IsReportedAndNotShown) {
  start();
  docs_.write("lettre.docx", std::string("PK\x03\x04\x14\x00", 6) + "word/document.xml");
  open("lettre.docx");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("texte enrichi"), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find(docs_.file("lettre.docx")), std::string::npos);
  EXPECT_TRUE(editor(0)->toPlainText().isEmpty());  // no garbage shown
  EXPECT_FALSE(window_->button("btnGoto")->isEnabled());
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Lirno"));

  docs_.write("pl.txt", "Ksi\xC4\x99ga\r\n");  // ę: no Windows-1252 form
  open("pl.txt");
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[1].find("\xC4\x99 (ligne 1)"), std::string::npos) << messages_[1];
  EXPECT_TRUE(editor(0)->toPlainText().isEmpty());

  docs_.write("fr.txt", "\xEF\xBB\xBF\xC3\x89t\xC3\xA9\r\n");
  open("fr.txt");
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_EQ(editor(0)->toPlainText(), QStringLiteral("Été\n\n"));
}

TEST_F(PanesTest, TheCommandLineFileOpensWithoutTheDialog) {
  docs_.write("cl.txt", "abc\r\n");
  start('"' + docs_.file("cl.txt") + '"');
  QCoreApplication::processEvents();  // the posted "&Ouvrir"
  EXPECT_EQ(editor(0)->toPlainText(), QStringLiteral("abc\n\n"));
  EXPECT_EQ(panes_->documentPath(), docs_.file("cl.txt"));
  EXPECT_TRUE(wb_->commandLine().fileToOpen.empty());
}

TEST_F(PanesTest, CaretBeforeTheFirstCharacterIsPageZero) {
  start();
  docs_.write("a.txt", "abc\r\n");
  open("a.txt");
  moveCaret(0, 1);
  EXPECT_EQ(field(ui().edPage), QStringLiteral("1"));
  moveCaret(0, 0);
  EXPECT_EQ(field(ui().edPage), QStringLiteral("0"));
  EXPECT_EQ(field(ui().edFolio), QStringLiteral("0r"));
  EXPECT_EQ(field(ui().edVign), QStringLiteral("0"));
}

TEST_F(PanesTest, CrossingAPageMarkerChangesPageAndFootnotes) {
  start();
  // a, note anchor, b, page marker, c, note anchor, d: positions 0..6.
  docs_.write("n.rtf", "{\\rtf1 a{\\footnote first}b\\'b1c{\\footnote second\\par line}d\\par}");
  open("n.rtf");
  moveCaret(0, 3);  // right before the page marker
  EXPECT_EQ(field(ui().edPage), QStringLiteral("1"));
  EXPECT_EQ(ui().reNote->toPlainText(), QStringLiteral("1) first"));
  moveCaret(0, 4);  // right after it
  EXPECT_EQ(field(ui().edPage), QStringLiteral("2"));
  EXPECT_EQ(ui().reNote->toPlainText(), QStringLiteral("1) second\nline"));
  EXPECT_EQ(panes_->shownPage(), 2);
}

TEST_F(PanesTest, ProgrammaticSelectionsDoNotRunThePositionDisplay) {
  start();
  docs_.write("b.txt", "ab" + kPage + "cd\r\n");
  open("b.txt");
  moveCaret(0, 1);
  ASSERT_EQ(field(ui().edPage), QStringLiteral("1"));
  panes_->selectRange(panes_->paneAt(0), 4, 1);
  EXPECT_EQ(field(ui().edPage), QStringLiteral("1"));
  EXPECT_EQ(panes_->selectionStart(panes_->paneAt(0)), 4);
  EXPECT_EQ(panes_->selectionLength(panes_->paneAt(0)), 1);
  EXPECT_EQ(editor(0)->textCursor().selectedText(), QStringLiteral("d"));
}

TEST_F(PanesTest, FolioKeyTakesOnlyALowerCaseVAsTheVerso) {
  start();
  std::string text;
  for (int i = 1; i <= 13; ++i) text += "=r" + std::to_string(i) + kVerso + "v" + std::to_string(i);
  docs_.write("f.txt", text + "\r\n");
  open("f.txt");

  ui().edFolio->clear();
  QTest::keyClicks(ui().edFolio, QStringLiteral("12v"));
  EXPECT_EQ(panes_->gotoKind(), GotoKind::Folio);
  EXPECT_EQ(ui().edFolio->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_EQ(ui().edPage->palette().color(QPalette::Base), QColor(Qt::white));
  window_->button("btnGoto")->click();
  EXPECT_EQ(field(ui().edFolio), QStringLiteral("12v"));
  EXPECT_EQ(editor(0)->textCursor().block().text().mid(editor(0)->textCursor().positionInBlock(), 3),
            QStringLiteral("v12"));
  EXPECT_EQ(panes_->gotoKind(), GotoKind::None);
  EXPECT_EQ(ui().edFolio->palette().color(QPalette::Base), QColor(Qt::white));

  ui().edFolio->clear();
  QTest::keyClicks(ui().edFolio, QStringLiteral("12V"));
  window_->button("btnGoto")->click();
  EXPECT_EQ(field(ui().edFolio), QStringLiteral("12r"));

  // Past the last folio: only the colours change.
  ui().edFolio->clear();
  QTest::keyClicks(ui().edFolio, QStringLiteral("99"));
  const int before = editor(0)->textCursor().position();
  window_->action("mnuGoto")->trigger();
  EXPECT_EQ(editor(0)->textCursor().position(), before);
  EXPECT_EQ(ui().edFolio->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(PanesTest, EnterInAPositionFieldGoesToTheMark) {
  start();
  // Enter with no document goes nowhere (the command is disabled).
  QTest::keyClicks(ui().edPage, QStringLiteral("2"));
  QTest::keyClick(ui().edPage, Qt::Key_Return);
  EXPECT_EQ(panes_->gotoKind(), GotoKind::Page);

  docs_.write("g.txt", "a" + kPage + "b" + kGlyph + "c" + kPage + "d" + kGlyph + "e\r\n");
  open("g.txt");
  QTest::keyClicks(ui().edVign, QStringLiteral("2"));
  QTest::keyClick(ui().edVign, Qt::Key_Return);
  EXPECT_EQ(panes_->selectionStart(panes_->paneAt(0)), 8);
  EXPECT_EQ(panes_->gotoKind(), GotoKind::None);
  ui().edPage->clear();
  QTest::keyClicks(ui().edPage, QStringLiteral("2"));
  QTest::keyClick(ui().edPage, Qt::Key_Enter);
  EXPECT_EQ(panes_->selectionStart(panes_->paneAt(0)), 2);
  ui().edFolio->clear();
  QTest::keyClicks(ui().edFolio, QStringLiteral("0"));
  QTest::keyClick(ui().edFolio, Qt::Key_Return);
  EXPECT_EQ(panes_->gotoKind(), GotoKind::None);  // ran, though there is no folio mark
}

TEST_F(PanesTest, GoToPageAndGlyphLandAfterTheMarker) {
  start();
  docs_.write("g.txt", "a" + kPage + "b" + kGlyph + "c" + kPage + "d" + kGlyph + "e\r\n");
  open("g.txt");
  QTest::keyClicks(ui().edVign, QStringLiteral("2"));
  window_->button("btnGoto")->click();
  EXPECT_EQ(panes_->selectionStart(panes_->paneAt(0)), 8);
  EXPECT_EQ(field(ui().edVign), QStringLiteral("2"));
  EXPECT_EQ(field(ui().edPage), QStringLiteral("3"));

  ui().edPage->clear();
  QTest::keyClicks(ui().edPage, QStringLiteral(" 2 "));
  window_->button("btnGoto")->click();
  EXPECT_EQ(panes_->selectionStart(panes_->paneAt(0)), 2);

  // Without a typed field, go to mark only collapses the selection.
  panes_->selectRange(panes_->paneAt(0), 1, 3);
  window_->button("btnGoto")->click();
  EXPECT_EQ(panes_->selectionStart(panes_->paneAt(0)), 1);
  EXPECT_EQ(panes_->selectionLength(panes_->paneAt(0)), 0);
}

TEST_F(PanesTest, ZoomStepsByTwoPointsBetweenEightAndTwenty) {
  start();
  EXPECT_EQ(panes_->zoomPoints(), 12);
  for (int i = 0; i < 6; ++i) window_->button("btnZoomIn")->click();
  EXPECT_EQ(panes_->zoomPoints(), 20);
  EXPECT_EQ(editor(2)->font().pointSize(), 20);
  EXPECT_EQ(ui().reNote->font().pointSize(), 20);
  for (int i = 0; i < 8; ++i) window_->button("btnZoomOut")->click();
  EXPECT_EQ(panes_->zoomPoints(), 8);
  EXPECT_EQ(editor(1)->font().pointSize(), 8);
}

class TranslationsTest : public PanesTest {
 protected:
  void writeDocuments(bool first, bool second) {
    docs_.write("ms.txt", "one\r\ntwo\r\nthree\r\n");
    if (first) docs_.write("ms_trad.txt", "un\r\ndeux\r\ntrois\r\n");
    if (second) docs_.write("ms_trad2.txt", "uno\r\ndue\r\ntre\r\n");
  }

  // Record tags in slot order, counting from 1.
  std::string order() {
    std::string out;
    for (int s = 0; s < PanesController::kPanes; ++s) {
      if (!out.empty()) out += "-";
      out += std::to_string(panes_->paneAt(s).tag + 1);
    }
    return out;
  }
};

TEST_F(TranslationsTest, OnlyTheSecondTranslationShowsOnePane) {
  start();
  writeDocuments(false, true);
  open("ms.txt");
  ASSERT_TRUE(window_->button("btnTrad")->isEnabled());
  window_->button("btnTrad")->click();
  EXPECT_FALSE(panes_->paneAt(1).open);
  EXPECT_TRUE(panes_->paneAt(2).open);
  EXPECT_EQ(panes_->paneAt(2).nameLabel->text(), QStringLiteral("ms_trad2"));
  EXPECT_EQ(panes_->currentPane(), &panes_->paneAt(0));
  EXPECT_FALSE(window_->button("btnTrad")->isEnabled());
  EXPECT_TRUE(window_->button("btnSwap")->isEnabled());
  EXPECT_TRUE(panes_->translationLink());
  // The caption names the main document only.
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Lirno - ") + fromUtf8(docs_.file("ms.txt")));
}

TEST_F(TranslationsTest, WithoutTranslationsTheButtonStaysDisabled) {
  start();
  writeDocuments(false, false);
  open("ms.txt");
  EXPECT_FALSE(window_->button("btnTrad")->isEnabled());
  EXPECT_FALSE(window_->button("btnSwap")->isEnabled());
}

TEST_F(TranslationsTest, TheCaretParagraphIsSelectedInEveryTranslation) {
  start();
  writeDocuments(true, true);
  open("ms.txt");
  window_->button("btnTrad")->click();
  moveCaret(0, 6);  // in "two"
  EXPECT_EQ(editor(1)->textCursor().selectedText(), QStringLiteral("deux"));
  EXPECT_EQ(editor(2)->textCursor().selectedText(), QStringLiteral("due"));
  moveCaret(0, 1);  // in "one", before the first break
  EXPECT_EQ(editor(1)->textCursor().selectedText(), QStringLiteral("un"));
  // From a translation pane the main document follows.
  editor(2)->setFocus();
  panes_->makeCurrent(2);
  moveCaret(2, 12);  // in "tre"
  EXPECT_EQ(editor(0)->textCursor().selectedText(), QStringLiteral("three"));
}

TEST_F(TranslationsTest, AnEditorTakingTheFocusBecomesCurrent) {
  start();
  writeDocuments(true, false);
  open("ms.txt");
  window_->button("btnTrad")->click();
  QSignalSpy editItems(panes_, &PanesController::editItemsChanged);
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(editor(1), &in);
  EXPECT_EQ(panes_->currentPane(), &panes_->paneAt(1));
  EXPECT_EQ(panes_->currentEditor(), editor(1));
  EXPECT_EQ(editItems.count(), 1);
  EXPECT_EQ(panes_->paneAt(1).nameBar->palette().color(QPalette::Window), QColor(0, 0x80, 0x80));
  EXPECT_EQ(panes_->paneAt(0).nameBar->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(TranslationsTest, SwapWithThreePanesGivesTwoOneThreeThenTwoThreeOne) {
  start();
  writeDocuments(true, true);
  open("ms.txt");
  window_->button("btnTrad")->click();
  EXPECT_EQ(order(), "1-2-3");
  window_->button("btnSwap")->click();
  EXPECT_EQ(order(), "2-1-3");
  window_->button("btnSwap")->click();
  EXPECT_EQ(order(), "2-3-1");
  // The splitter shows the panels in that order.
  EXPECT_EQ(ui().pnlCont->widget(0), ui().pnlDocN[1]);
  EXPECT_EQ(ui().pnlCont->widget(2), ui().pnlDocN[0]);
  // Closing a pane sets the step back and two panes just exchange.
  panes_->paneAt(0).closeButton->click();  // closes record 2 (slot 0)
  EXPECT_EQ(panes_->swapStep(), 0);
  window_->button("btnSwap")->click();
  EXPECT_EQ(order(), "2-1-3");
}

TEST_F(TranslationsTest, ArrangeSharesTheContainerAndFollowsTheDirection) {
  start();
  writeDocuments(true, true);
  window_->show();
  QCoreApplication::processEvents();
  open("ms.txt");
  window_->button("btnTrad")->click();
  QSplitter* cont = ui().pnlCont;
  const QList<int> sizes = cont->sizes();
  const int share = (cont->width() - 9 + 3) / 3;
  EXPECT_EQ(sizes[0], share);
  EXPECT_EQ(sizes[1], share);
  EXPECT_EQ(sizes[2], cont->width() - 2 * (share + 3));

  window_->button("btnHoriz")->click();
  EXPECT_EQ(window_->button("btnHoriz")->text(), QStringLiteral("V"));
  EXPECT_EQ(cont->orientation(), Qt::Vertical);
  EXPECT_FALSE(panes_->sideBySide());
  EXPECT_EQ(cont->sizes()[0], (cont->height() - 6) / 3);
  window_->button("btnHoriz")->click();
  EXPECT_EQ(window_->button("btnHoriz")->text(), QStringLiteral("H"));
  window_->hide();
}

TEST_F(TranslationsTest, ClosingTheResultPaneDropsTheResults) {
  start();
  writeDocuments(true, false);
  open("ms.txt");
  window_->button("btnTrad")->click();
  QSignalSpy dropped(panes_, &PanesController::resultPaneClosed);
  panes_->setResultPane(&panes_->paneAt(0));
  panes_->paneAt(1).closeButton->click();  // another pane: the results stay
  EXPECT_EQ(dropped.count(), 0);
  EXPECT_EQ(panes_->resultPane(), &panes_->paneAt(0));
  panes_->paneAt(0).closeButton->click();
  EXPECT_EQ(dropped.count(), 1);
  EXPECT_EQ(panes_->resultPane(), nullptr);
  EXPECT_EQ(panes_->currentPane(), nullptr);
  EXPECT_TRUE(panes_->currentDocument().text.empty());
}

TEST_F(PanesTest, CloseDocumentsEmptiesEveryPane) {
  start();
  docs_.write("c.rtf", "{\\rtf1 a{\\footnote n}b\\par}");
  open("c.rtf");
  moveCaret(0, 2);
  ASSERT_FALSE(ui().reNote->toPlainText().isEmpty());
  QSignalSpy ran(panes_, &PanesController::closeDocumentsCommandRan);
  window_->button("btnClose")->click();
  EXPECT_EQ(ran.count(), 1);
  EXPECT_FALSE(panes_->paneAt(0).open);
  EXPECT_TRUE(editor(0)->toPlainText().isEmpty());
  EXPECT_TRUE(ui().reNote->toPlainText().isEmpty());
  EXPECT_TRUE(panes_->documentPath().empty());
  EXPECT_FALSE(window_->button("btnGoto")->isEnabled());
  EXPECT_FALSE(window_->action("mnuInfo")->isEnabled());
}

TEST_F(PanesTest, GlyphBoxShowsThePictureOfTheGlyphUnderTheCaret) {
  start();
  docs_.write("glyph.rtf", "{\\rtf1 ab\\'ad" + redSquarePicture() + "cd\\par}");
  open("glyph.rtf");
  GlyphBox* box = panes_->glyphBox();
  ASSERT_EQ(box->objectName(), QStringLiteral("pbxGlyph"));
  ASSERT_EQ(ui().pbxGlyph, box);
  box->resize(105, 100);
  moveCaret(0, 2);  // before the glyph marker: no picture
  EXPECT_FALSE(box->hasPicture());
  moveCaret(0, 3);
  ASSERT_TRUE(box->hasPicture());
  EXPECT_EQ(field(ui().edVign), QStringLiteral("1"));

  // 96 x 96 pixels fit the 101 x 96 room: drawn at its own size from (2, 2).
  const QImage shot = box->grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(96, 96), QColor(Qt::red));
  EXPECT_NE(shot.pixelColor(1, 1), QColor(Qt::red));
  EXPECT_NE(shot.pixelColor(100, 50), QColor(Qt::red));

  // A smaller box shrinks it proportionally.
  box->resize(54, 100);  // room 50 x 96: 50 x 50
  const QImage small = box->grab().toImage();
  EXPECT_EQ(small.pixelColor(50, 50), QColor(Qt::red));
  EXPECT_NE(small.pixelColor(50, 60), QColor(Qt::red));

  // Closing the document forgets the picture.
  window_->button("btnClose")->click();
  EXPECT_FALSE(box->hasPicture());
  EXPECT_EQ(panes_->shownPicture(), nullptr);
}

TEST_F(PanesTest, ColouringRangesTouchesOnlyTheirParagraphs) {
  start();
  docs_.write("r.txt", "red one\r\nplain\r\nred two\r\n");
  open("r.txt");
  PaneRecord& p = panes_->paneAt(0);
  // "red" at 0, "two" at 20 (positions: each break counts 2), and a range
  // over the first break.
  panes_->colourRanges(p, {{0, 3}, {4, 5}, {20, 3}}, Qt::red);
  QTextDocument* d = p.editor->document();
  const auto first = d->findBlockByNumber(0).layout()->formats();
  ASSERT_EQ(first.size(), 2);
  EXPECT_EQ(first[0].start, 0);
  EXPECT_EQ(first[0].length, 3);
  EXPECT_EQ(first[1].start, 4);
  EXPECT_EQ(first[1].length, 3);  // "one"; the break itself is not coloured
  EXPECT_EQ(first[0].format.foreground().color(), QColor(Qt::red));
  EXPECT_TRUE(d->findBlockByNumber(1).layout()->formats().isEmpty());
  const auto third = d->findBlockByNumber(2).layout()->formats();
  ASSERT_EQ(third.size(), 1);
  EXPECT_EQ(third[0].start, 4);
  EXPECT_EQ(third[0].length, 3);

  panes_->clearColours(p);
  EXPECT_TRUE(d->findBlockByNumber(0).layout()->formats().isEmpty());
  EXPECT_TRUE(d->findBlockByNumber(2).layout()->formats().isEmpty());
}

TEST_F(PanesTest, OverlappingRangesAcrossABreakKeepEveryPiece) {
  start();
  docs_.write("o.txt", "abcdef\r\nghij\r\n");
  open("o.txt");
  PaneRecord& p = panes_->paneAt(0);
  // "cdef" plus the break plus "gh", then "ef" which starts back inside the
  // first paragraph, once the walk has reached the second.
  panes_->colourRanges(p, {{2, 8}, {4, 2}}, Qt::red);
  QTextDocument* d = p.editor->document();
  const auto first = d->findBlockByNumber(0).layout()->formats();
  ASSERT_EQ(first.size(), 2);
  EXPECT_EQ(first[0].start, 2);
  EXPECT_EQ(first[0].length, 4);
  EXPECT_EQ(first[1].start, 4);
  EXPECT_EQ(first[1].length, 2);
  const auto second = d->findBlockByNumber(1).layout()->formats();
  ASSERT_EQ(second.size(), 1);
  EXPECT_EQ(second[0].start, 0);
  EXPECT_EQ(second[0].length, 2);
  panes_->clearColours(p);
  EXPECT_TRUE(d->findBlockByNumber(0).layout()->formats().isEmpty());
  EXPECT_TRUE(d->findBlockByNumber(1).layout()->formats().isEmpty());
}

// Cursor positions against document positions, over every kind of byte.
TEST(PaneTextTest, CursorPositionsAreDocumentIndexes) {
  Document doc;
  doc.text = "ab\rc\n\nd\xe9\x80\n";
  std::int32_t position = 0;
  for (char c : doc.text) {
    if (c == '\n' || c == '\r') doc.lineTable.push_back(position);
    position += (c == '\n' || c == '\r') ? 2 : 1;
  }
  QPlainTextEdit editor;
  editor.setPlainText(paneText(doc));
  QTextDocument* d = editor.document();
  ASSERT_EQ(d->characterCount(), static_cast<int>(doc.text.size()) + 1);
  for (std::size_t i = 0; i < doc.text.size(); ++i) {
    const QChar shown = d->characterAt(static_cast<int>(i));
    switch (doc.text[i]) {
      case '\n':
        EXPECT_EQ(shown, QChar::ParagraphSeparator) << i;
        break;
      case '\r':
        EXPECT_EQ(shown, QChar::LineSeparator) << i;
        break;
      default:
        EXPECT_EQ(shown, fromAnsi(doc.text.substr(i, 1)).at(0)) << i;
    }
    const std::int32_t pos = doc.positionOfIndex(static_cast<std::int32_t>(i));
    EXPECT_EQ(positionOfCursor(doc, static_cast<int>(i)), pos);
    EXPECT_EQ(cursorOfPosition(doc, pos), static_cast<int>(i));
  }
  // "c" follows one break (position 4), "d" three (position 9).
  EXPECT_EQ(positionOfCursor(doc, 3), 4);
  EXPECT_EQ(positionOfCursor(doc, 6), 9);
  // The second unit of a break is the break; the end is the text's end.
  EXPECT_EQ(cursorOfPosition(doc, 3), 2);
  EXPECT_EQ(cursorOfPosition(doc, 1000), static_cast<int>(doc.text.size()));
  EXPECT_EQ(cursorOfPosition(doc, -5), 0);
}

}  // namespace
}  // namespace lirno
