#pragma once
// The document loader: what every way of loading a document goes through
// (the panes, a corpus search, lirno-batch). It tells the formats it does
// not read from their first bytes, turns UTF-8 plain text into the
// Windows-1252 text the engine works on, and hands everything else to the
// document reader.
#include <string>

#include "documents/document.h"
#include "documents/markers.h"

namespace lirno {

enum class LoadStatus {
  Loaded,
  NotFound,       // the reader could not read the file (the message says why)
  ForeignFormat,  // a word-processor document, a PDF, a picture...
  Unconvertible,  // UTF-8 with characters that have no Windows-1252 form, or broken UTF-8
};

struct DocumentLoad {
  LoadStatus status = LoadStatus::Loaded;
  // For Show message: the French program text (UTF-8) and its detail, the
  // path last. Both empty when loaded.
  std::string message;
  std::string detail;

  bool loaded() const { return status == LoadStatus::Loaded; }
};

// The message texts, for callers that report the outcome themselves.
inline constexpr const char* kForeignFormatMessage =
    "Ce document n'est ni du texte enrichi (RTF) ni du texte brut. Enregistrez-le en texte "
    "enrichi ou en texte brut pour l'ouvrir :\n";
inline constexpr const char* kUnconvertibleMessage =
    "Ce document UTF-8 contient des caractères sans forme Windows-1252 ; il n'est pas ouvert, "
    "pour qu'aucun résultat ne soit faux. Caractères, et ligne du premier :\n";
inline constexpr const char* kBrokenUtf8Message =
    "Ce document se déclare UTF-8 mais ne l'est pas ; il n'est pas ouvert. Ligne de la "
    "première erreur :\n";

// The name of the format whose signature `head` (the first bytes of a file
// of `size` bytes) carries, or nullptr for a file the reader may read.
const char* foreignFormatOf(const std::string& head, std::uint64_t size);

// Loads the file at `path` (UTF-8) into `doc` (the caller has cleared it).
// Anything but Loaded leaves `doc` untouched, but for a read error in the
// middle of the file, which leaves it empty. A plain text file that is
// valid UTF-8 with multi-byte sequences, or starts with a UTF-8 byte order
// mark, is converted to Windows-1252 first (the mark dropped); marks,
// positions and searches then work on the converted text.
DocumentLoad loadDocument(const std::string& path, Document& doc, const Markers& markers);

}  // namespace lirno
