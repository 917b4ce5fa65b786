// Placing the files of an archive: whole-archive mode (every entry into one
// folder) and list mode (the description file's [FICHIER] list says where
// each file goes and whether an existing one is replaced), with progress in
// the main window and the stop request checked between files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stelvane {

struct Installer;
class ZipArchive;

// Places `archivePath` into `targetFolder`: list mode when a description
// file is named and `wholeArchive` is false, else whole-archive mode. An
// empty archive path succeeds at once; an empty target folder or an archive
// that cannot be opened fails without a message. In list mode the
// registration and the extra components follow the files, and the result is
// the data modification's.
bool placeArchive(Installer& installer, const std::wstring& archivePath,
                  const std::wstring& targetFolder, bool wholeArchive);

// The options of a file entry (PARAM + five digits); a flag is set when its
// field is present, not empty and not exactly "0".
struct FileOptions {
  bool force = false;       // field 0
  bool keep = false;        // field 1
  bool confirm = false;     // field 2
  std::wstring backupName;  // field 5
  bool fromSource = false;  // field 7
};
FileOptions parseFileOptions(std::wstring_view param);

// What the replace decision knows of an existing target.
struct ExistingFile {
  std::wstring time;  // last write, local time, "YYYYMMDDhhmmss"
  std::optional<std::wstring> version;    // "Version" of a program's version resource
  std::optional<std::wstring> kxVersion;  // "KXVersion"
};
// Reads what the decision needs of `target` (versions only for a program:
// the upper-cased path contains ".EXE").
ExistingFile describeExisting(const std::wstring& target);
// True when the existing file counts as more recent than the new one
// (`newTime` field 6, `newVersion` field 7 of the file entry).
bool existingIsMoreRecent(const ExistingFile& existing, std::wstring_view newTime,
                          std::wstring_view newVersion);

// The whole decision: place when the target is absent; never over it with
// keep; not over a more recent one without force; and with confirm only when
// the user agrees (CONF_COPY).
bool shouldPlace(Installer& installer, const std::wstring& target, const FileOptions& options,
                 std::wstring_view newTime, std::wstring_view newVersion);

// Counts a file that could not be placed and appends it with its code to
// INSTALL.LOG in the installation folder (UTF-16LE, recorded for removal).
void logFailedFile(Installer& installer, const std::wstring& target, int code);
// Logs a failed file and asks ERREUR_UNZIP; true to go on.
bool continueAfterFailure(Installer& installer, const std::wstring& target, int code);
// Clears a pending stop request and asks STOP_COPY; true when the user stops.
bool userStops(Installer& installer);

}  // namespace stelvane
