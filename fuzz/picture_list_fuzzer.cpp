// libFuzzer target: Build picture list and Look up folio over any text. No
// crash, no read out of bounds; every entry has an image and fields within
// their cuts, and a look-up marks exactly the entries of its folio.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "documents/picture_list.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

std::size_t characters(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first line is the folio to look up; the rest is the file's text.
  const std::size_t nl = bytes.find('\n');
  const std::string_view folio = nl == std::string_view::npos ? std::string_view() : bytes.substr(0, nl);
  if (nl != std::string_view::npos) bytes.remove_prefix(nl + 1);
  lirno::cPictureList list;
  list.build(bytes);
  check(characters(list.imageFolder()) <= 255);
  for (const lirno::PictureEntry& e : list.entries()) {
    check(!e.image.empty());
    check(characters(e.image) <= 256 && characters(e.description) <= 256);
    check(e.folio != "Folio");
    check(!e.marked);
  }
  const int row = list.lookUpFolio(folio);
  const std::string up = lirno::upperFolio(folio);
  int first = -1;
  for (std::size_t i = 0; i < list.size(); ++i) {
    // An empty folio is the last one of a new list: nothing is marked.
    const bool same = !up.empty() && lirno::upperFolio(list.entries()[i].folio) == up;
    check(list.entries()[i].marked == same);
    if (same && first < 0) first = static_cast<int>(i);
  }
  check(row == (up.empty() ? lirno::cPictureList::kUnchanged : first));
  check(list.lookUpFolio(folio) == lirno::cPictureList::kUnchanged);
  list.clear();
  check(list.empty() && list.lastFolio().empty());
  return 0;
}
