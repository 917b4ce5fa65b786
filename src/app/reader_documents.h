#pragma once
// The documents of lirno-batch: read with the document reader, one at a
// time, and every file that cannot be read reported through `report` (the
// message says why: missing, too large, not a regular file, a read error)
// and counted.
#include <functional>
#include <string>

#include "documents/document_source.h"
#include "documents/markers.h"

namespace lirno {

class ReaderDocuments : public DocumentSource {
 public:
  // `report` gets the message text and its detail (the path).
  ReaderDocuments(const Markers& markers,
                  std::function<void(const std::string&, const std::string&)> report)
      : markers_(markers), report_(std::move(report)) {}

  const Document& current() override { return document_; }
  void closeAll() override { document_.clear(); }
  const Document* load(const std::string& path) override;

  // How many loads failed so far.
  std::size_t failures() const { return failures_; }

 private:
  const Markers& markers_;
  std::function<void(const std::string&, const std::string&)> report_;
  Document document_;
  std::size_t failures_ = 0;
};

}  // namespace lirno
