#pragma once
// The tool buttons' pictures, drawn by the program itself.
#include <QIcon>

namespace lirno {

enum class ToolIcon {
  Open, CloseAll, Find, WordList, Save, Up, Down, First, Previous, Next, Last,
  OpenHere, OpenElsewhere, Help, ZoomOut, ZoomIn, Goto, Info, ClosePane,
  Concordance, Dispersion,
};

QIcon toolIcon(ToolIcon kind);

}  // namespace lirno
