#include "placement.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "extra_components.h"
#include "fs.h"
#include "handle.h"
#include "installer.h"
#include "integration.h"
#include "macros.h"
#include "messages.h"
#include "paths.h"
#include "profile.h"
#include "registration.h"
#include "shortcuts.h"
#include "text.h"
#include "version_resource.h"
#include "windows/main_window.h"
#include "zip/zip_archive.h"

namespace stelvane {

namespace {

void progress(Installer& installer, std::wstring_view text, int position, int total) {
  if (installer.window) installer.window->progress(text, position, total);
  drainMessages();
}

void record(Installer& installer, RecordWord word, const std::wstring& text) {
  if (installer.integration) installer.integration->record(word, text);
}

// An empty field is not a flag: an entry without options has none set.
bool flagField(const std::vector<std::wstring>& fields, size_t index) {
  return index < fields.size() && !fields[index].empty() && fields[index] != L"0";
}

std::wstring fieldOf(const std::vector<std::wstring>& fields, size_t index) {
  return index < fields.size() ? fields[index] : std::wstring();
}

// The archive entry a source name designates: without drive and leading separators.
std::wstring entryNameOf(std::wstring_view sourceName) {
  std::wstring_view name = sourceName;
  if (name.size() >= 2 && name[1] == L':') name.remove_prefix(2);
  while (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) name.remove_prefix(1);
  return std::wstring(name);
}

// Removes (or, with a backup name, renames) an existing target before its
// replacement is written.
void clearTarget(const std::wstring& target, const std::wstring& backupName) {
  if (!pathExists(target)) return;
  setAttributes(target, FILE_ATTRIBUTE_NORMAL);
  if (!backupName.empty())
    moveFileOver(target, joinPath(folderOf(target), backupName));
  else
    deleteFile(target);
}

bool placeWholeArchive(Installer& installer, ZipArchive& archive, const std::wstring& folder) {
  const int total = static_cast<int>(archive.count());
  for (size_t i = 0; i < archive.count(); ++i) {
    drainMessages();
    const std::wstring& name = archive.entryName(i);
    const std::wstring target = joinPath(folder, name);
    progress(installer, fileNameOf(target), static_cast<int>(i) + 1, total);
    int code;
    if (!isContainedEntryName(name)) {
      // Never written: it would land outside the target folder.
      code = kExtractCannotCreate;
    } else if (archive.entry(i).isDirectory()) {
      code = archive.extractIndex(i, target);
      if (code == kExtractPlaced) record(installer, RecordWord::Folder, withTrailingBackslash(target));
    } else {
      createFolderTree(folderOf(target));
      record(installer, RecordWord::Folder, folderOf(target));
      clearTarget(target, L"");
      record(installer, RecordWord::File, target);
      code = archive.extractIndex(i, target);
    }
    if (code != kExtractPlaced && !continueAfterFailure(installer, target, code)) return false;
    if (userStops(installer)) return false;
  }
  progress(installer, L"", 0, 0);
  return true;
}

bool placeList(Installer& installer, ZipArchive& archive) {
  const std::wstring& script = installer.scriptPath;
  const std::wstring& description = installer.descriptionPath;

  // The shortcut set is rebuilt from the files this installation places.
  WritePrivateProfileStringW(L"RACCOURCI", nullptr, nullptr, script.c_str());
  writeProfile(script, L"RACCOURCI", L"NOM_GROUPE", installer.applicationName);
  rememberInstallFolder(installer);

  // "NB" may be followed by a "/" and a comment: only its leading digits count.
  const int count = readProfileInt(description, L"FICHIER", L"NB", 0);
  std::wstring dataFolder =
      expandMacros(installer, readProfile(description, L"KXF", L"REPFICDEF", L"", kPathSize));
  const std::wstring defaultFolder = expandMacros(installer, readProfile(description, L"KXF", L"REPDEF"));
  if (installer.collator.equal(dataFolder, defaultFolder) && dataFolder != installer.installFolder)
    dataFolder = installer.installFolder;
  installer.dataFolder = dataFolder;

  ShortcutAttachments shortcuts(installer);
  for (int n = 1; n <= count; ++n) {
    drainMessages();
    const std::wstring entry = readProfile(description, L"FICHIER", fiveDigitKey(L"F", n));
    if (entry.empty()) continue;
    const auto fields = split(entry, L"/");
    const std::wstring target = expandMacros(installer, joinPath(fieldOf(fields, 2), fieldOf(fields, 4)));
    progress(installer, fileNameOf(target), n, count);
    createFolderTree(folderOf(target));
    record(installer, RecordWord::Folder, folderOf(target));

    const std::wstring newVersion = fieldOf(fields, 7);
    const std::wstring newTime = fieldOf(fields, 6);
    const FileOptions options =
        parseFileOptions(readProfile(description, L"FICHIER", fiveDigitKey(L"PARAM", n)));
    record(installer, RecordWord::File, target);
    const std::wstring sourceName =
        withTrailingBackslash(options.fromSource ? installer.sourceFolder : fieldOf(fields, 1)) +
        fieldOf(fields, 3);
    const std::wstring entryName = entryNameOf(sourceName);

    if (shouldPlace(installer, target, options, newTime, newVersion)) {
      clearTarget(target, options.backupName);
      const int code = options.fromSource
                           ? (copyFileOver(sourceName, target) ? kExtractPlaced : kExtractCopyFailed)
                           : archive.extract(entryName, target);
      if (code != kExtractPlaced && !continueAfterFailure(installer, target, code)) return false;
    }
    const std::wstring upper = toUpper(target);
    if (upper.find(L".EXE") != std::wstring::npos) registerAppPath(installer, upper);
    shortcuts.attach(entryName, upper);
    if (userStops(installer)) return false;
  }
  progress(installer, L"", 0, 0);

  const std::wstring uninstaller = readProfile(description, L"INST", L"UNINST", L"0");
  if (!uninstaller.empty() && uninstaller != L"0") registerUninstaller(installer, archive);
  return runExtraComponents(installer);
}

}  // namespace

bool placeArchive(Installer& installer, const std::wstring& archivePath,
                  const std::wstring& targetFolder, bool wholeArchive) {
  if (archivePath.empty()) return true;
  if (targetFolder.empty()) return false;
  const bool listMode = !installer.descriptionPath.empty() && !wholeArchive;
  ZipArchive archive;
  if (archive.open(archivePath) != kExtractPlaced) return false;
  return listMode ? placeList(installer, archive) : placeWholeArchive(installer, archive, targetFolder);
}

FileOptions parseFileOptions(std::wstring_view param) {
  const auto fields = split(param, L"/");
  FileOptions options;
  options.force = flagField(fields, 0);
  options.keep = flagField(fields, 1);
  options.confirm = flagField(fields, 2);
  if (flagField(fields, 5)) options.backupName = fields[5];
  options.fromSource = flagField(fields, 7);
  return options;
}

ExistingFile describeExisting(const std::wstring& target) {
  ExistingFile existing;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  FILETIME local;
  SYSTEMTIME time;
  BOOL read;
  {
    CriticalErrorMode mode;
    read = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data);
  }
  if (read && FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
      FileTimeToSystemTime(&local, &time)) {
    wchar_t text[32];
    swprintf(text, ARRAYSIZE(text), L"%04d%02d%02d%02d%02d%02d", time.wYear, time.wMonth,
             time.wDay, time.wHour, time.wMinute, time.wSecond);
    existing.time = text;
  }
  if (toUpper(target).find(L".EXE") != std::wstring::npos) {
    existing.version = versionString(target, L"Version");
    if (existing.version) existing.kxVersion = versionString(target, L"KXVersion");
  }
  return existing;
}

bool existingIsMoreRecent(const ExistingFile& existing, std::wstring_view newTime,
                          std::wstring_view newVersion) {
  if (!existing.version) return existing.time > newTime;
  return toUpper(*existing.version) > toUpper(newVersion) && existing.kxVersion &&
         *existing.kxVersion >= L"9.0";
}

bool shouldPlace(Installer& installer, const std::wstring& target, const FileOptions& options,
                 std::wstring_view newTime, std::wstring_view newVersion) {
  if (!pathExists(target)) return true;
  if (options.keep) return false;
  if (existingIsMoreRecent(describeExisting(target), newTime, newVersion) && !options.force)
    return false;
  if (!options.confirm) return true;
  return question(installer,
                  readLocalized(installer, L"CONF_COPY", L"TITRE", L"Remplacement de fichier"),
                  readLocalized(installer, L"CONF_COPY", L"MESSAGE",
                                L"Voulez-vous remplacer le fichier %s ?"),
                  {target});
}

void logFailedFile(Installer& installer, const std::wstring& target, int code) {
  ++installer.failedFiles;
  if (installer.installFolder.empty()) return;
  const std::wstring path = joinPath(installer.installFolder, L"INSTALL.LOG");
  std::wstring text;
  if (installer.failedFiles == 1) {
    // One heading per installation; an earlier one's lines stay above it.
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t heading[128];
    swprintf(heading, ARRAYSIZE(heading), L"%04d-%02d-%02d %02d:%02d:%02d ", now.wYear, now.wMonth,
             now.wDay, now.wHour, now.wMinute, now.wSecond);
    text = heading + installer.applicationName + L" : fichiers non placés (code) :\r\n";
    if (installer.integration) installer.integration->record(RecordWord::File, path);
  }
  text += L"(" + decimal(code) + L") " + target + L"\r\n";
  Handle file;
  {
    CriticalErrorMode mode;
    file.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file) return;
  LARGE_INTEGER size = {};
  std::string bytes;
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart == 0) bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool continueAfterFailure(Installer& installer, const std::wstring& target, int code) {
  logFailedFile(installer, target, code);
  return question(
      installer, readLocalized(installer, L"ERREUR_UNZIP", L"TITRE", L"Impossible d'extraire un fichier"),
      readLocalized(installer, L"ERREUR_UNZIP", L"MESSAGE",
                    L"Le fichier %s n'a pas pu être extrait. Voulez-vous continuer ?\n(%d)"),
      {target, decimal(code)});
}

bool userStops(Installer& installer) {
  if (!installer.stopRequested) return false;
  installer.stopRequested = false;
  return question(installer, readLocalized(installer, L"STOP_COPY", L"TITRE", L"Arrêt utilisateur"),
                  readLocalized(installer, L"STOP_COPY", L"MESSAGE",
                                L"Voulez-vous arrêter l'installation ?"));
}

}  // namespace stelvane
