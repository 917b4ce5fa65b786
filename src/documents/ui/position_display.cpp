// The position bar of the panes: page, folio and glyph of the caret, the
// footnotes of its page, the glyph picture, the translations aligned on its
// paragraph; and the go-to-mark command that reads the bar back.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBrowser>

#include "documents/ui/glyph_box.h"
#include "documents/ui/pane_text.h"
#include "documents/ui/panes_controller.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

void paintField(QLineEdit* field, const QColor& colour) {
  QPalette p = field->palette();
  p.setColor(QPalette::Base, colour);
  field->setPalette(p);
}

}  // namespace

void PanesController::caretMoved() {
  // The program's own caret and selection moves are not the user's.
  if (frame().busyCount() > 0) return;
  positionDisplay();
}

void PanesController::positionDisplay() {
  MainControls& ui = frame().ui;
  PaneRecord& pane = *current_;
  const Document& doc = pane.document;
  const std::int32_t caret = positionOfCursor(doc, pane.editor->textCursor().selectionStart());
  const Location at = doc.locate(caret, Unit::Position);

  ui.edPage->setText(QString::number(at.page));
  ui.edFolio->setText(fromUtf8(folioText(at.folio, at.side)));
  ui.edVign->setText(QString::number(at.glyph));
  setFieldsWhite();
  gotoKind_ = GotoKind::None;

  if (at.page != shownPage_) {
    shownPage_ = at.page;
    ui.reNote->setPlainText(fromAnsi(footnoteText(doc, at.page)));
  }
  if (at.picture != shownPicture_) showGlyph(at.picture);

  emit folioDisplayed(ui.edFolio->text());
  emit editItemsChanged();
  if (translationLink_) alignTranslations(pane.tag, caret);
}

void PanesController::showGlyph(const GlyphPicture* picture) {
  shownPicture_ = picture;
  shownPicturePane_ = picture ? current_ : nullptr;
  glyphBox_->setPicture(picture);
}

void PanesController::alignTranslations(int sourceTag, std::int32_t caretPosition) {
  const int k = current_->document.lineOfPosition(caretPosition);
  for (PaneRecord& r : records_) {
    if (!r.open || r.tag == sourceTag) continue;
    const PositionRange p = alignedParagraph(r.document, k);
    // A translation with fewer paragraphs gets an empty selection at its end.
    selectRange(r, p.start, std::max(0, p.length));
  }
}

void PanesController::setFieldsWhite() {
  for (QLineEdit* f : {frame().ui.edPage, frame().ui.edFolio, frame().ui.edVign}) {
    paintField(f, Qt::white);
  }
}

void PanesController::fieldEdited(GotoKind kind) {
  MainControls& ui = frame().ui;
  paintField(ui.edPage, kind == GotoKind::Page ? Qt::yellow : Qt::white);
  paintField(ui.edFolio, kind == GotoKind::Folio ? Qt::yellow : Qt::white);
  paintField(ui.edVign, kind == GotoKind::Glyph ? Qt::yellow : Qt::white);
  gotoKind_ = kind;
}

void PanesController::gotoMark() {
  QPlainTextEdit* editor = currentEditor();
  if (gotoKind_ == GotoKind::None) {
    QTextCursor c = editor->textCursor();
    c.setPosition(c.selectionStart());
    editor->setTextCursor(c);
    return;
  }
  MainControls& ui = frame().ui;
  const int page = leadingNumber(toUtf8(ui.edPage->text()));
  const int key = folioKey(toUtf8(ui.edFolio->text()));
  const int glyph = leadingNumber(toUtf8(ui.edVign->text()));
  editor->setFocus();
  const Document& doc = currentDocument();
  if (const Mark* m = findGotoMark(doc, gotoKind_, page, key, glyph)) {
    // Just after the marker character; the position display follows.
    QTextCursor c(editor->document());
    c.setPosition(cursorOfPosition(doc, m->position + 1));
    editor->setTextCursor(c);
  }
  setFieldsWhite();
  gotoKind_ = GotoKind::None;
}

}  // namespace lirno
