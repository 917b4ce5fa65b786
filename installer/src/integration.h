// Where file placement, system integration and the extra components plug into
// the installation sequence. The driver owns one Integration (created at
// start by createIntegration()) and calls it in the sequence's order:
//   openUninstallRecord   at OK, once the installation folder exists
//   placeMainArchive      the main archive: files, their registration, extra components
//   createShortcutSet     after the OPTION1 and OPTION2 actions
//   writeUninstallRecord  at the end of the sequence, completed or not
// and record() from every step that creates something an uninstaller removes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

// The words of the uninstall record's lines.
enum class RecordWord { File, Folder, Key, Value, Shortcut };
// "EFF_FIC", "EFF_REP", "EFF_REG", "EFF_ENT_REG", "EFF_ICO".
const wchar_t* recordWordText(RecordWord word);

class Integration {
 public:
  virtual ~Integration() = default;

  // Opens the record in the installation folder when the script asks for one
  // ([OPTION_INSTALL] INFO_DESINSTALLATION); otherwise it stays inactive.
  virtual void openUninstallRecord(Installer& installer) = 0;
  // Adds one line to the record (nothing while it is inactive).
  virtual void record(RecordWord word, std::wstring_view text) = 0;
  // The name under which the application is registered for removal (EFF_TAG).
  virtual void setUninstallTag(std::wstring_view tag) = 0;
  virtual void writeUninstallRecord(Installer& installer) = 0;

  // Places the files of `archivePath` (source folder + [ARCHIVE] NOM_KXZ, not
  // empty) into the installation folder, registers them and runs the extra
  // components. False when it failed or the user stopped it.
  virtual bool placeMainArchive(Installer& installer, const std::wstring& archivePath) = 0;

  // The shortcut set of the script's [RACCOURCI] section.
  virtual void createShortcutSet(Installer& installer) = 0;
};

// The integration this build provides.
std::unique_ptr<Integration> createIntegration();

}  // namespace stelvane
