#pragma once
// Document labels: what the targets of a corpus search carry to name their
// document, "file name | folder/". Paths and labels are UTF-8.
#include <string>
#include <string_view>

#include "search/targets.h"

namespace lirno {

inline constexpr std::string_view kLabelSeparator = " | ";

// The path a corpus entry or a label stands for: a relative path is taken
// from the program folder (there are no drive letters here).
std::string resolveDocumentPath(std::string_view path, std::string_view programFolder);

// Document label (path, program folder): empty for an empty path.
std::string documentLabel(std::string_view path, std::string_view programFolder);

// The full path rebuilt from a label: the folder after " | " joined with the
// file name before it. Empty for an empty label; a label without the
// separator is taken as a path.
std::string pathOfLabel(std::string_view label);

// The file name of a label, as the grid's "Document" column shows it: the
// text before the first " | ", or the whole label when it has none.
std::string fileNameOfLabel(std::string_view label);

// The path of a target's document: the one its label keeps, else rebuilt
// from the label's text. Empty for the empty label.
std::string documentPathOf(const DocumentLabel& label);

// Its file name, whatever the name holds (" | " too).
std::string documentFileNameOf(const DocumentLabel& label);

}  // namespace lirno
