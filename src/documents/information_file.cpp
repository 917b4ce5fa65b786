#include "documents/information_file.h"

#include "platform/paths.h"

namespace lirno {

std::string informationFileName(std::string_view documentPath, std::string_view languageCode) {
  const std::string name = fileNameOf(documentPath);
  const std::size_t dot = name.rfind('.');
  const std::string code = "_" + std::string(languageCode);
  if (dot == std::string::npos) return name + code;
  return name.substr(0, dot) + code + name.substr(dot);
}

std::string informationFileOf(std::string_view documentPath, std::string_view languageCode,
                              std::string_view programFolder) {
  const std::string name = informationFileName(documentPath, languageCode);
  const std::string beside = folderOf(documentPath) + name;
  if (fileExists(beside)) return beside;
  const std::string shared = std::string(programFolder) + "infos/" + name;
  if (fileExists(shared)) return shared;
  return {};
}

}  // namespace lirno
