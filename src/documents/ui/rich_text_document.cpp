#include "documents/ui/rich_text_document.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

// Twips to the document's pixels (96 per inch).
qreal pixels(int twips) { return twips / 15.0; }

QTextBlockFormat blockFormat(const RichParagraph& p) {
  QTextBlockFormat f;
  switch (p.align) {
    case RichAlign::Left:
      f.setAlignment(Qt::AlignLeft);
      break;
    case RichAlign::Centre:
      f.setAlignment(Qt::AlignHCenter);
      break;
    case RichAlign::Right:
      f.setAlignment(Qt::AlignRight);
      break;
    case RichAlign::Justify:
      f.setAlignment(Qt::AlignJustify);
      break;
  }
  f.setTopMargin(pixels(p.spaceBefore));
  f.setBottomMargin(pixels(p.spaceAfter));
  f.setLeftMargin(pixels(p.leftIndent));
  f.setRightMargin(pixels(p.rightIndent));
  f.setTextIndent(pixels(p.firstIndent));
  if (!p.tabStops.empty()) {
    QList<QTextOption::Tab> tabs;
    for (int t : p.tabStops) tabs << QTextOption::Tab(pixels(t), QTextOption::LeftTab);
    f.setTabPositions(tabs);
  }
  return f;
}

QTextCharFormat charFormat(const RichFormat& r) {
  QTextCharFormat f;
  if (!r.font.empty()) f.setFontFamilies({fromUtf8(r.font)});
  f.setFontPointSize(r.halfPoints / 2.0);
  f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(r.italic);
  f.setFontUnderline(r.underline);
  f.setFontStrikeOut(r.strike);
  if (r.script != 0) {
    f.setVerticalAlignment(r.script > 0 ? QTextCharFormat::AlignSuperScript
                                        : QTextCharFormat::AlignSubScript);
  }
  if (r.hasColour) f.setForeground(QColor(r.red, r.green, r.blue));
  if (!r.link.empty()) {
    f.setAnchor(true);
    f.setAnchorHref(fromUtf8(r.link));
    if (!r.hasColour) f.setForeground(QColor(0, 0, 0xFF));
    f.setFontUnderline(true);
  }
  if (r.protect) f.setProperty(kProtectedProperty, true);
  return f;
}

}  // namespace

void fillDocument(QTextDocument& document, const RichText& text) {
  document.clear();
  QTextCursor c(&document);
  c.beginEditBlock();
  bool first = true;
  for (const RichParagraph& p : text.paragraphs) {
    if (first) {
      c.setBlockFormat(blockFormat(p));
      first = false;
    } else {
      c.insertBlock(blockFormat(p));
    }
    for (const RichRun& r : p.runs) {
      QString s = fromUtf8(r.text);
      s.replace(QChar(0x2028), QChar::LineSeparator);
      c.insertText(s, charFormat(r.format));
    }
  }
  c.endEditBlock();
}

}  // namespace lirno
