#include "documents/picture_list.h"

namespace lirno {
namespace {

constexpr std::size_t kSectionCharacters = 32000;
constexpr std::size_t kFieldCharacters = 256;
constexpr std::size_t kFolderCharacters = 255;
constexpr std::string_view kFolderKey = "Repertoire=";

// Trimmed as the form's Trim does: every byte up to the space off both ends.
std::string_view trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The same, except that a tab at the start stays.
std::string_view trimKeepingTab(std::string_view s) {
  while (!s.empty() && s.front() != '\t' && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::string_view firstCharacters(std::string_view text, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t n = 0; i < text.size() && n < count; ++n) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

std::string upperFolio(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'a' && c <= 'z') {
      out.push_back(static_cast<char>(c - 'a' + 'A'));
    } else if (c == 0xC3 && i + 1 < text.size()) {
      // U+00E0..U+00FE but U+00F7: the Latin-1 small letters.
      auto d = static_cast<unsigned char>(text[i + 1]);
      if (d >= 0xA0 && d <= 0xBE && d != 0xB7) d = static_cast<unsigned char>(d - 0x20);
      out.push_back(static_cast<char>(c));
      out.push_back(static_cast<char>(d));
      ++i;
    } else if (c == 0xC5 && i + 1 < text.size()) {
      // oe, s and z with caron: their capitals are one code point lower.
      auto d = static_cast<unsigned char>(text[i + 1]);
      if (d == 0x93 || d == 0xA1 || d == 0xBE) d = static_cast<unsigned char>(d - 1);
      out.push_back(static_cast<char>(c));
      out.push_back(static_cast<char>(d));
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  // y with diaeresis (U+00FF) has its capital outside Latin-1 (U+0178).
  for (std::size_t p = 0; (p = out.find("\xC3\xBF", p)) != std::string::npos;) out.replace(p, 2, "\xC5\xB8");
  return out;
}

void cPictureList::clear() {
  entries_.clear();
  imageFolder_.clear();
  lastFolio_.clear();
}

void cPictureList::build(std::string_view text) {
  clear();
  const std::size_t at = text.find("[Images]");
  if (at == std::string_view::npos) return;
  std::string_view rest = firstCharacters(text.substr(at), kSectionCharacters);

  // The "[Images]" line, then the heading line, are passed over unread.
  for (int skip = 0; skip < 2; ++skip) {
    const std::size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) return;
    rest.remove_prefix(end + 2);
  }
  for (std::size_t end; (end = rest.find("\r\n")) != std::string_view::npos; rest.remove_prefix(end + 2)) {
    const std::string_view line = rest.substr(0, end);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      if (line.substr(0, kFolderKey.size()) == kFolderKey) {
        imageFolder_ = std::string(firstCharacters(line.substr(kFolderKey.size()), kFolderCharacters));
      }
      return;
    }
    const std::string_view folio = trim(line.substr(0, tab));
    if (folio == "Folio") continue;
    // A leading tab stays: an entry without description is still one.
    const std::string_view after = firstCharacters(trimKeepingTab(line.substr(tab + 1)), kFieldCharacters);
    const std::size_t second = after.find('\t');
    if (second == std::string_view::npos) continue;
    const std::string_view image = firstCharacters(trim(after.substr(second + 1)), kFieldCharacters);
    if (image.empty()) continue;
    entries_.push_back(PictureEntry{std::string(folio), std::string(trim(after.substr(0, second))),
                                    std::string(image), false});
  }
}

int cPictureList::lookUpFolio(std::string_view folio) {
  std::string up = upperFolio(folio);
  if (up == lastFolio_) return kUnchanged;
  lastFolio_ = std::move(up);
  int first = kNone;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    PictureEntry& e = entries_[i];
    e.marked = upperFolio(e.folio) == lastFolio_;
    if (e.marked && first == kNone) first = static_cast<int>(i);
  }
  return first;
}

}  // namespace lirno
