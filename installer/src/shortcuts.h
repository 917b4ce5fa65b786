// Shortcuts: the install script's [RACCOURCI] set, made after the options'
// actions, and the entries list mode writes into that set for each placed
// file that the description file's [RACCOURCI] names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stelvane {

struct Installer;

// Makes the shortcuts of the script's [RACCOURCI] section: for each
// ICONE_TITREn, option bit 1 in the programs folder's NOM_GROUPE group, bit 2
// on the desktop, bit 4 in Quick Launch. Each file is recorded (EFF_ICO),
// made or not.
void createShortcutSet(Installer& installer);

// Creates one shell link at `file`; false when it could not be saved.
bool createShellLink(const std::wstring& file, const std::wstring& target,
                     const std::wstring& description, const std::wstring& workingFolder);

// The folder that a shortcut option bit (1, 2 or 4) puts its links in: the
// user's "Shell Folders" values ("Programs" + group, "Desktop", "AppData" +
// Quick Launch). Empty when the system knows no such folder.
std::wstring shortcutFolder(int optionBit, std::wstring_view group);

// The description file's [RACCOURCI] list, read once per placement.
class ShortcutAttachments {
 public:
  explicit ShortcutAttachments(Installer& installer);
  // For the placed entry `entryName` (archive name) at `upperTarget`: writes
  // ICONE_CIBLEk, ICONE_REPk, ICONE_TITREk and ICONE_OPTIONk into the script
  // for the first shortcut naming that entry.
  void attach(std::wstring_view entryName, const std::wstring& upperTarget);
  int written() const { return written_; }

 private:
  struct Listed {
    std::wstring file;    // FIC(j) without drive and leading "\"
    std::wstring title;   // the field of LIB(j) for the chosen language
    std::wstring option;  // FLAG(j)
  };
  Installer& installer_;
  std::vector<Listed> listed_;
  int written_ = 0;
};

}  // namespace stelvane
