// The integration of a build without archive support: it places no archive
// and keeps no uninstall record. A script that names a main archive fails its
// installation (nothing is pretended); a script without one installs its
// section actions only.
#include "installer.h"
#include "integration.h"
#include "messages.h"

namespace stelvane {

namespace {

class PendingIntegration final : public Integration {
 public:
  void openUninstallRecord(Installer&) override {}
  void record(RecordWord, std::wstring_view) override {}
  void writeUninstallRecord(Installer&) override {}

  bool placeMainArchive(Installer& installer, const std::wstring& archivePath) override {
    errorBoxFormat(installer, L"Erreur",
                   L"L'archive %s ne peut pas être installée : ce programme d'installation ne lit pas les archives.",
                   {archivePath});
    return false;
  }

  void createShortcutSet(Installer&) override {}
};

}  // namespace

std::unique_ptr<Integration> createIntegration() { return std::make_unique<PendingIntegration>(); }

}  // namespace stelvane
