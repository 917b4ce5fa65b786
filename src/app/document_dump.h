#pragma once
// A document's model as JSON (UTF-8), for checking a transcription's
// markup: its text, marks, notes and line table.
#include <string>

#include "documents/document.h"

namespace lirno {

std::string documentJson(const Document& doc);

}  // namespace lirno
