#include "results/document_label.h"

#include "platform/paths.h"

namespace lirno {

std::string resolveDocumentPath(std::string_view path, std::string_view programFolder) {
  if (path.empty() || path.front() == '/') return std::string(path);
  return std::string(programFolder) + std::string(path);
}

std::string documentLabel(std::string_view path, std::string_view programFolder) {
  if (path.empty()) return {};
  const std::string full = resolveDocumentPath(path, programFolder);
  return fileNameOf(full) + std::string(kLabelSeparator) + folderOf(full);
}

std::string pathOfLabel(std::string_view label) {
  const std::size_t bar = label.find(kLabelSeparator);
  if (bar == std::string_view::npos) return std::string(label);
  return std::string(label.substr(bar + kLabelSeparator.size())) + std::string(label.substr(0, bar));
}

std::string fileNameOfLabel(std::string_view label) {
  return std::string(label.substr(0, label.find(kLabelSeparator)));
}

std::string documentPathOf(const DocumentLabel& label) {
  if (!label.path().empty()) return label.path();
  return pathOfLabel(label.str());
}

std::string documentFileNameOf(const DocumentLabel& label) {
  if (!label.path().empty()) return fileNameOf(label.path());
  return fileNameOfLabel(label.str());
}

}  // namespace lirno
