// The integration of the installer: the uninstall record of this
// installation, the placement of the main archive with everything that
// follows it, and the shortcut set.
#include "installer.h"
#include "integration.h"
#include "placement.h"
#include "shortcuts.h"
#include "uninstall_record.h"

namespace stelvane {

namespace {

class ArchiveIntegration final : public Integration {
 public:
  void openUninstallRecord(Installer& installer) override { record_.open(installer); }
  void record(RecordWord word, std::wstring_view text) override {
    record_.add(recordWordText(word), text);
  }
  void setUninstallTag(std::wstring_view tag) override {
    if (record_.active()) record_.setTag(tag);
  }
  void writeUninstallRecord(Installer&) override { record_.write(); }

  bool placeMainArchive(Installer& installer, const std::wstring& archivePath) override {
    return placeArchive(installer, archivePath, installer.installFolder, false);
  }

  void createShortcutSet(Installer& installer) override { stelvane::createShortcutSet(installer); }

 private:
  UninstallRecord record_;
};

}  // namespace

std::unique_ptr<Integration> createIntegration() {
  return std::make_unique<ArchiveIntegration>();
}

}  // namespace stelvane
