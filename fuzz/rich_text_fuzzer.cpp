// libFuzzer target: the information view's RTF converter over any bytes,
// then link detection and the plain text the picture list reads. No crash,
// no read out of bounds, and what comes out is well-formed UTF-8 whose
// links lie inside their runs' text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "documents/picture_list.h"
#include "documents/rich_text.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool validUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lirno::RichText text = lirno::readRichText(bytes);
  check(!text.paragraphs.empty());
  lirno::detectLinks(text);
  for (const lirno::RichParagraph& p : text.paragraphs) {
    for (const lirno::RichRun& r : p.runs) {
      check(!r.text.empty());
      check(validUtf8(r.text));
      check(r.format.halfPoints >= 2);
    }
  }
  const std::string plain = lirno::plainTextOf(text);
  check(validUtf8(plain));
  // The picture list reads it as the workbench does.
  lirno::cPictureList list;
  list.build(plain);
  return 0;
}
