#pragma once
// Where a document's information file is: beside the document, else in the
// "infos/" folder of the program folder, named after the document with the
// language code before the extension (ms12.rtf, "fra": ms12_fra.rtf).
#include <string>
#include <string_view>

namespace lirno {

// The candidate file name of `documentPath` for `languageCode`.
std::string informationFileName(std::string_view documentPath, std::string_view languageCode);

// The information file of the document (UTF-8 paths), or empty when
// neither place holds one. `programFolder` ends with "/".
std::string informationFileOf(std::string_view documentPath, std::string_view languageCode,
                              std::string_view programFolder);

}  // namespace lirno
