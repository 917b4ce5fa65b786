#pragma once
// The green dot that an open thesaurus or corpus puts on its item of the
// menu bar, beside the caption (a menu bar alone would show the picture in
// place of the caption).
#include <string_view>

namespace lirno {

class TfrmMain;

void showMenuMark(TfrmMain& window, std::string_view menuName, bool shown);

}  // namespace lirno
