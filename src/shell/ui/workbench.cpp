#include "shell/ui/workbench.h"

#include <QApplication>
#include <QDialog>
#include <QMetaObject>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "platform/ui/message.h"
#include "shell/ui/main_window.h"

namespace lirno {

Workbench::Workbench(std::string programFolder, CommandLine commandLine)
    : programFolder_(std::move(programFolder)),
      commandLine_(std::move(commandLine)),
      fallbackSettingsPath_(lirno::fallbackSettingsPath()) {}

Workbench::~Workbench() {
  // Windows still open (a test tearing down) go first: they report to us.
  const std::vector<TfrmMain*> open = windows_;
  for (TfrmMain* w : open) delete w;
  delete anchor_;
}

TfrmMain* Workbench::start() {
  anchor_ = new TfrmStart;
  TfrmMain* first = createMainWindow();
  if (dialogSetup_) dialogSetup_(*this);
  first->show();
  if (!commandLine_.dropped.empty()) {
    // The command line is read up to its limit; what lay beyond is named,
    // once the commands it asked for have run.
    std::string detail = commandLine_.dropped;
    if (detail.size() > 300) {
      std::size_t end = 300;
      // Whole UTF-8 characters.
      while (end > 0 && (static_cast<unsigned char>(detail[end]) & 0xC0) == 0x80) --end;
      detail = detail.substr(0, end) + "...";
    }
    QMetaObject::invokeMethod(
        first,
        [first, detail] {
          showMessage("La ligne de commande dépasse 1024 caractères ; ceci n'a pas été lu :\n",
                      detail, "Lirno", MessageKind::Warning, first);
        },
        Qt::QueuedConnection);
  }
  if (!commandLine_.unconvertible.empty()) {
    // Such a string could never be found in a Windows-1252 document.
    const std::string strings = commandLine_.unconvertible;
    QMetaObject::invokeMethod(
        first,
        [first, strings] {
          showMessage("Ces chaînes de recherche ont des caractères sans forme Windows-1252 ; elles ne sont pas "
                      "cherchées :\n",
                      strings, "Lirno", MessageKind::Warning, first);
        },
        Qt::QueuedConnection);
  }
  return first;
}

TfrmMain* Workbench::createMainWindow() {
  const bool first = windows_.empty();
  auto* w = new TfrmMain(*this);
  if (windowSetup_) windowSetup_(*w);
  w->create(first);
  return w;
}

void Workbench::windowCreated(TfrmMain* window) { windows_.push_back(window); }

bool Workbench::writeSettings(const std::function<bool(const IniFile&)>& write, QWidget* parent) {
  if (settingsPath_.empty()) return true;
  errno = 0;
  if (write(IniFile(settingsPath_))) return true;
  const int error = errno;
  if (!settingsFailureShown_) {
    settingsFailureShown_ = true;
    std::string detail = settingsPath_;
    if (error != 0) detail.append("\n").append(std::strerror(error));
    showMessage("Impossible d'enregistrer les réglages :\n", detail, "Lirno", MessageKind::Warning,
                parent);
  }
  return false;
}

void Workbench::windowDestroyed(TfrmMain* window) {
  const auto it = std::find(windows_.begin(), windows_.end(), window);
  if (it == windows_.end()) return;
  windows_.erase(it);
  if (!windows_.empty()) return;

  const WindowSettings last = window->currentWindowSettings();
  writeSettings([&](const IniFile& ini) { return writeWindowSettings(ini, last); });
  rules_ = RulesTables();
  language_.reset();
  if (anchor_) anchor_->close();
  emit finished();
}

}  // namespace lirno
