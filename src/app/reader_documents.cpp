#include "app/reader_documents.h"

#include "documents/rtf_reader.h"

namespace lirno {

const Document* ReaderDocuments::load(const std::string& path) {
  document_.clear();
  if (!readDocument(path, document_, markers_)) {
    if (report_) report_("Fichier non trouvé :\n", path);
    return nullptr;
  }
  return &document_;
}

}  // namespace lirno
