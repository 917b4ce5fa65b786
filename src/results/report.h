#pragma once
// The report of a search or word list: header, target list with
// references, and extracts of the documents around the occurrences.
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_source.h"
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

// Builds the report, Windows-1252 with LF line ends. Extracts of corpus
// documents load them through the source (after which no document is
// open); extracts of a document that cannot be read are left out.
std::string buildReport(const ReportOptions& options, const ReportInput& input);

// Writes `report` with every LF as CR LF, appending or replacing. False
// when the file cannot be written.
bool writeReportFile(const std::string& path, std::string_view report, bool append);

// The report's bytes as the file holds them: LF became CR LF.
std::string withCrLf(std::string_view report);

}  // namespace lirno
