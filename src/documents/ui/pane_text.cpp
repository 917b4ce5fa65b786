#include "documents/ui/pane_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

#include "platform/cp1252.h"

namespace lirno {

QString paneText(const Document& doc) {
  const std::string& t = doc.text;
  QString out(static_cast<qsizetype>(t.size()), Qt::Uninitialized);
  QChar* d = out.data();
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto b = static_cast<unsigned char>(t[i]);
    char16_t c;
    if (b == '\n') {
      c = u'\n';
    } else if (b == '\r') {
      c = QChar::LineSeparator;
    } else {
      c = static_cast<char16_t>(cp1252ToUnicode(b));
    }
    d[i] = QChar(c);
  }
  return out;
}

int cursorOfPosition(const Document& doc, std::int32_t position) {
  if (position <= 0) return 0;
  const std::int32_t index = doc.indexOfPosition(position);
  return static_cast<int>(std::clamp<std::int64_t>(index, 0, static_cast<std::int64_t>(doc.text.size())));
}

std::int32_t positionOfCursor(const Document& doc, int cursor) {
  return doc.positionOfIndex(std::max(0, cursor));
}

void RangeColouring::colour(std::vector<std::pair<int, int>> ranges, const QTextCharFormat& format) {
  clear();
  if (!std::is_sorted(ranges.begin(), ranges.end())) std::sort(ranges.begin(), ranges.end());
  // Pieces are gathered per paragraph first: a range that spans a paragraph
  // break can be followed by one that starts back inside the first
  // paragraph, and a paragraph's formats are set once.
  struct Piece {
    int block;
    QTextLayout::FormatRange range;
  };
  std::vector<Piece> pieces;
  pieces.reserve(ranges.size());
  QTextBlock block;
  for (auto [start, end] : ranges) {
    start = std::max(start, 0);
    while (start < end) {
      if (!block.isValid() || start < block.position() ||
          start >= block.position() + block.length()) {
        block = document_->findBlock(start);
        if (!block.isValid()) break;
      }
      const int blockStart = block.position();
      const int textEnd = blockStart + block.length() - 1;  // the separator is not coloured
      const int pieceEnd = std::min(end, textEnd);
      if (pieceEnd > start) {
        pieces.push_back({block.blockNumber(), {start - blockStart, pieceEnd - start, format}});
      }
      start = blockStart + block.length();
    }
  }
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const Piece& a, const Piece& b) { return a.block < b.block; });
  for (std::size_t i = 0; i < pieces.size();) {
    const int number = pieces[i].block;
    QList<QTextLayout::FormatRange> formats;
    for (; i < pieces.size() && pieces[i].block == number; ++i) formats.append(pieces[i].range);
    QTextBlock b = document_->findBlockByNumber(number);
    b.layout()->setFormats(formats);
    document_->markContentsDirty(b.position(), b.length());
    blocks_.push_back(number);
  }
}

void RangeColouring::clear() {
  for (int n : blocks_) {
    QTextBlock b = document_->findBlockByNumber(n);
    if (!b.isValid()) continue;
    b.layout()->clearFormats();
    document_->markContentsDirty(b.position(), b.length());
  }
  blocks_.clear();
}

}  // namespace lirno
