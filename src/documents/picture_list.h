#pragma once
// cPictureList: the folio photographs of a document, read from the
// "[Images]" section of its information file, and which of them show the
// folio under the caret. Text is UTF-8 (the information file's text as the
// rich text converter gives it, lines ending with CR LF).
#include <string>
#include <string_view>
#include <vector>

namespace lirno {

struct PictureEntry {
  std::string folio;        // as written ("12r")
  std::string description;  // free text
  std::string image;        // file name, relative to the image folder
  bool marked = false;      // the entry's folio is the one under the caret
};

class cPictureList {
 public:
  // What a look-up found.
  static constexpr int kUnchanged = -2;  // same folio as the last look-up
  static constexpr int kNone = -1;       // no entry of that folio

  // Replaces the list from an information file's text: the lines after the
  // heading line that follows "[Images]" (within the first 32000
  // characters from it), each "folio TAB description TAB image", up to the
  // first line without a tab; such a line "Repertoire=name" names the
  // image folder. Lines without a second tab or an image, and a repeated
  // "Folio" heading, are skipped; a last line without CR LF is not read.
  void build(std::string_view text);

  // Empties the list, the image folder and the last folio.
  void clear();

  // Marks the entries whose folio equals `folio`, case aside. kUnchanged
  // when the folio (upper-cased) is that of the last look-up, else the
  // index of the first marked entry or kNone.
  int lookUpFolio(std::string_view folio);

  const std::vector<PictureEntry>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const std::string& imageFolder() const { return imageFolder_; }
  const std::string& lastFolio() const { return lastFolio_; }

 private:
  std::vector<PictureEntry> entries_;
  std::string imageFolder_;
  std::string lastFolio_;
};

// Upper-casing of UTF-8 text as the folio comparison does it: ASCII and the
// Latin letters of Windows-1252.
std::string upperFolio(std::string_view text);

// The first `count` characters of UTF-8 text (a cut never splits one).
std::string_view firstCharacters(std::string_view text, std::size_t count);

}  // namespace lirno
