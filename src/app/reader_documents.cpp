#include "app/reader_documents.h"

#include "documents/document_loader.h"

namespace lirno {

const Document* ReaderDocuments::load(const std::string& path) {
  document_.clear();
  const DocumentLoad outcome = loadDocument(path, document_, markers_);
  if (!outcome.loaded()) {
    ++failures_;
    if (report_) report_(outcome.message, outcome.detail);
    return nullptr;
  }
  return &document_;
}

}  // namespace lirno
