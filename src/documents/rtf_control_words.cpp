#include "documents/rtf_control_words.h"

#include <array>

namespace lirno {
namespace {

struct Entry {
  std::string_view word;
  RtfControlWord what;
};

using A = RtfAction;
constexpr Entry kWords[] = {
    {"rtf", {A::RichText}},
    {"par", {A::Paragraph}},
    {"sect", {A::Paragraph}},
    {"row", {A::Paragraph}},
    {"line", {A::Line}},
    {"footnote", {A::Footnote}},
    {"header", {A::SkipGroup}},
    {"footerf", {A::SkipGroup}},
    {"footer", {A::SkipGroup}},
    {"info", {A::SkipGroup}},
    {"fonttbl", {A::SkipGroup}},
    {"stylesheet", {A::SkipGroup}},
    {"colortbl", {A::SkipGroup}},
    {"cell", {A::Special, 9}},
    {"tab", {A::Special, 9}},
    {"endash", {A::Special, 0x96}},
    {"emdash", {A::Special, 0x97}},
    {"bullet", {A::Special, 0x95}},
    {"enspace", {A::Special, 0x20}},
    {"emspace", {A::Special, 0x20}},
    {"lquote", {A::Special, 0x91}},
    {"rquote", {A::Special, 0x92}},
    {"ldblquote", {A::Special, 0x93}},
    {"rdblquote", {A::Special, 0x94}},
    {"pict", {A::Picture}},
    {"wmetafile", {A::PictureType}},
    {"picw", {A::PictureWidth}},
    {"pich", {A::PictureHeight}},
    {"emfblip", {A::PictureNotKept}},
    {"pngblip", {A::PictureNotKept}},
    {"jpegblip", {A::PictureNotKept}},
    {"shppict", {A::PictureNotKept}},
    {"nonshppict", {A::PictureNotKept}},
    {"macpict", {A::PictureNotKept}},
    {"pmmetafile", {A::PictureNotKept}},
    {"dibitmap", {A::PictureNotKept}},
    {"wbitmap", {A::PictureNotKept}},
    {"u", {A::Unicode}},
    {"uc", {A::UnicodeSkip}},
    {"bin", {A::Binary}},
};
constexpr int kCount = static_cast<int>(sizeof kWords / sizeof kWords[0]);

// Control words are frequent in rich text: an open-addressed table keyed by
// length and the first and last letters makes a look-up one or two string
// compares.
constexpr unsigned kSlots = 256;

constexpr unsigned hashOf(std::string_view w) {
  return (static_cast<unsigned>(w.size()) * 37u + static_cast<unsigned char>(w.front()) * 7u +
          static_cast<unsigned char>(w.back()) * 3u) %
         kSlots;
}

struct Table {
  std::array<signed char, kSlots> slot{};
  constexpr Table() {
    slot.fill(-1);
    for (int i = 0; i < kCount; ++i) {
      unsigned h = hashOf(kWords[i].word);
      while (slot[h] >= 0) h = (h + 1) % kSlots;
      slot[h] = static_cast<signed char>(i);
    }
  }
};
constexpr Table kTable;

}  // namespace

RtfControlWord lookupControlWord(std::string_view word) {
  if (word.empty()) return {};
  for (unsigned h = hashOf(word);; h = (h + 1) % kSlots) {
    const int i = kTable.slot[h];
    if (i < 0) return {};
    if (kWords[i].word == word) return kWords[i].what;
  }
}

}  // namespace lirno
