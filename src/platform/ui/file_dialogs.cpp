#include "platform/ui/file_dialogs.h"

#include <QFileDialog>

#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "platform/ui/qt_text.h"

namespace lirno {

std::string chooseExistingFile(QWidget* parent, const QString& caption, const std::string& folder,
                               const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, caption, fromUtf8(folder), filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return toUtf8(dialog.selectedFiles().constFirst());
}

QString qtFileFilter(const std::string& windowsFilter) {
  const QStringList parts = fromUtf8(windowsFilter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0) description = description.left(open).trimmed();
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

bool isInFolder(const std::string& path, const std::string& folder) {
  std::error_code ec;
  return std::filesystem::equivalent(folderOf(path), folder, ec);
}

}  // namespace lirno
