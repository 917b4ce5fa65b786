// The uninstall record "UNINST.INF": what an installation created, for the
// uninstaller to remove. In memory a tag and a list of lines "WORD=text\r\n";
// on disk UTF-16LE without byte-order mark, the "EFF_TAG=" line first, then
// the lines sorted by their UTF-16LE bytes.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "compare.h"

namespace stelvane {

struct Installer;

class UninstallRecord {
 public:

  // Activates the record when [OPTION_INSTALL] INFO_DESINSTALLATION starts
  // with O or Y (any case): opens (or creates) UNINST.INF in the
  // installation folder and reloads its lines, dropping registry lines that
  // name a protected key. An unreadable file leaves the record inactive.
  void open(const Installer& installer);
  // Opens the record file `path` directly (the switch is not read).
  void openFile(const std::wstring& path);
  // Keeps out of the record (new lines and reloaded ones) the files and
  // folders of the installer's work folders (this one and any earlier "KX_"
  // one of the temp directory) and, as folders, the system's own folders
  // (Windows, system, program files, profiles, shell folders, each with its
  // parents) and drive roots. `open` sets this up from the installer.
  void excludeTransientAndSystemFolders(const Installer& installer);
  bool active() const { return active_; }
  const std::wstring& path() const { return path_; }

  // Adds "word=text" unless a line equal to it (ignoring case, accents and
  // outer spaces) is already there. Nothing happens while inactive.
  void add(std::wstring_view word, std::wstring_view text);
  void setTag(std::wstring_view tag) { tag_.assign(tag); }
  const std::wstring& tag() const { return tag_; }
  // The lines (each ending with CR LF), in the order they are written.
  std::vector<std::wstring> sortedLines() const;

  // Writes the file anew (when active) and empties the list.
  bool write();

 private:
  void insert(std::wstring line);
  bool excluded(std::wstring_view word, std::wstring_view text) const;

  Collator collator_;
  bool active_ = false;
  std::wstring path_;
  std::wstring tag_;
  std::vector<std::wstring> lines_;
  std::unordered_set<std::string> keys_;  // collation keys of the lines, trimmed
  std::vector<std::wstring> transientFolders_;  // prefixes of work-folder paths
  std::vector<std::wstring> systemFolders_;     // with a trailing backslash
};

// The lines of a record file's text: split at CR, CR LF or LF, U+0000 code
// units ignored, at most 1024 characters kept of each, empty lines dropped.
std::vector<std::wstring> splitRecordText(std::wstring_view text);
// One of the 26 registry keys an uninstaller must never remove (ignoring case).
bool isProtectedRegistryKey(const Collator& collator, std::wstring_view key);
// The order of the record's lines: their UTF-16LE bytes compared as
// unsigned bytes, a prefix first.
bool recordLineLess(std::wstring_view a, std::wstring_view b);

}  // namespace stelvane
