#pragma once
// The report of a search or word list: header, target list with
// references, and extracts of the documents around the occurrences.
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_source.h"
#include "platform/file_write.h"
#include "platform/translator.h"
#include "search/request.h"
#include "search/targets.h"

namespace lirno {

// The choices of the export dialog.
struct ReportOptions {
  bool information = true;  // "Informations": the header
  bool list = true;         // "Liste": the target list
  bool references = true;   // "Références" of the list
  bool append = false;      // "Ajouter au fichier"
  int extracts = 0;         // 0 "Aucun", 1 "Mots", 2 "Phrases", 3 "Paragraphes"
  bool detailed = false;    // "Détaillée par mots" instead of "Groupée par extraits"
  bool extractReferences = true;  // the extracts' "Références"
  bool spans = true;              // "Balises"
};

struct ReportInput {
  const SearchRequest& request;
  const cTargetList& targets;  // in grid order
  const std::vector<std::string>& corpus;  // UTF-8 paths
  DocumentSource& documents;  // the current document; corpus documents for extracts
  Translator translate;       // empty: identity
  unsigned char pageMarker;   // the rules' page marker
};

// The report is Windows-1252. Extracts of corpus documents load them
// through the source (after which no document is open); extracts of a
// document that cannot be read are left out.

// The export: writes the report to the file at `path` (UTF-8) with CR LF
// line ends, added to its end when `options.append`, else replacing it
// through FileWriter (platform/file_write.h), so that a failed write leaves
// the previous file as it was. The report is streamed: memory does not grow
// with it. False, with `*error` (when given) set to the system's reason and
// errno to its code, when the file cannot be written.
bool writeReportFile(const std::string& path, const ReportOptions& options,
                     const ReportInput& input, std::string* error = nullptr);

// The same into any sink (the standard output, a FileWriter the caller
// opened and commits): CR LF line ends, written piece by piece as it is
// built. False when the sink refused a piece; the rest is then not built.
bool writeReport(const ReportOptions& options, const ReportInput& input, ByteSink& out);

// The report in memory with LF line ends (tests, previews).
std::string buildReport(const ReportOptions& options, const ReportInput& input);

}  // namespace lirno
