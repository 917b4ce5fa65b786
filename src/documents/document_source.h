#pragma once
// Where the engine gets its documents: the workbench loads them into the
// current pane (and reports a file it cannot read), lirno-batch reads them
// with the reader. The search, the word list and the export go through this
// interface only.
#include <string>

#include "documents/document.h"

namespace lirno {

class DocumentSource {
 public:
  virtual ~DocumentSource() = default;

  // The document of the current pane; an empty document (empty path) when
  // none is open.
  virtual const Document& current() = 0;

  // Close all documents: afterwards current() is empty.
  virtual void closeAll() = 0;

  // Load into current pane with errors reported: reads `path` (UTF-8) into
  // the current pane and returns it, or reports the file as not found and
  // returns nullptr. The document stays valid until the next load or
  // closeAll().
  virtual const Document* load(const std::string& path) = 0;
};

}  // namespace lirno
