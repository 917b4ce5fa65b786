#pragma once
// The rules of the document panes that need no widget: the position bar's
// texts, go-to-mark, footnote lists, translation file names, pane shares,
// swapping, zoom steps and paragraph alignment. Positions are in position
// units (line breaks count 2) unless a name says index.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document.h"

namespace lirno {

// The field of the position bar the user typed into last.
enum class GotoKind : int { None = 0, Page = 2, Folio = 3, Glyph = 4 };

// The decimal number made of the leading digits of `text` trimmed of blanks;
// 0 when there is none.
int leadingNumber(std::string_view text);

// 2 x folio + 1 for a trimmed text ending in a lower-case "v" (the verso).
int folioKey(std::string_view text);

// "12r" or "12v".
std::string folioText(std::int32_t folio, std::int32_t side);

// The first mark of `kind`, in list order, at or beyond the go-to values:
// page number >= page, glyph number >= glyph, 2 x folio + side >= folio key.
// nullptr when none.
const Mark* findGotoMark(const Document& doc, GotoKind kind, int page, int folioKey, int glyph);

// The footnotes of `page` as the footnote pane lists them: one line per note,
// "1) " then its text (Windows-1252), lines separated by LF.
std::string footnoteText(const Document& doc, std::int32_t page);

// The translation files of a document: folder + base name + "_trad" or
// "_trad2" + extension.
struct TranslationPaths {
  std::string first;
  std::string second;
};
TranslationPaths translationPaths(const std::string& documentPath);

// Splitters between panes are this many pixels across.
inline constexpr int kPaneSplitter = 3;

// The sizes of `n` open panes sharing `extent` pixels: an equal share of the
// room the n - 1 splitters leave; the last pane takes what remains.
std::vector<int> paneShares(int extent, int n);

// Swap step: among the open records in slot order, the one whose rank equals
// `step` changes places with the next open one; returns the new step (1
// after a first swap of three open panes, else 0). Nothing changes with
// fewer than two open panes.
int swapPanes(std::array<int, 3>& slots, const std::array<bool, 3>& recordOpen, int step);

// Font sizes (points) of the panes: zoom in below 20 adds 2, zoom out from
// 9 subtracts 2; otherwise the size stays.
int zoomedIn(int points);
int zoomedOut(int points);

// The paragraph of `doc` that matches paragraph `k` (Line of position of the
// source caret) of another pane: from just after line break k, up to line
// break k + 1 (from 0 for k = -1).
struct PositionRange {
  std::int32_t start = 0;
  std::int32_t length = 0;
};
PositionRange alignedParagraph(const Document& doc, int k);

}  // namespace lirno
