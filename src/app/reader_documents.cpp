#include "app/reader_documents.h"

#include "documents/rtf_reader.h"

namespace lirno {

const Document* ReaderDocuments::load(const std::string& path) {
  document_.clear();
  FileError error;
  if (!readDocument(path, document_, markers_, &error)) {
    ++failures_;
    if (report_) report_(error.messageText(), error.detail(path));
    return nullptr;
  }
  return &document_;
}

}  // namespace lirno
