#pragma once
// The open dialogs of the commands that read a configuration file.
#include <QString>

#include <string>

class QWidget;

namespace lirno {

// An open dialog for one existing file: `caption`, starting in `folder`
// (UTF-8), with the name filter `filter` and the default suffix `suffix`.
// The chosen path (UTF-8), or empty when cancelled.
std::string chooseExistingFile(QWidget* parent, const QString& caption, const std::string& folder,
                               const QString& filter, const QString& suffix);

// "Rich text files (*.rft)|*.rtf|..." as a file dialog filter: each
// description shows the pattern that really applies.
QString qtFileFilter(const std::string& windowsFilter);

// Whether `path` names a file directly in `folder` (the same folder however
// it is spelt: links, "./", a trailing "/").
bool isInFolder(const std::string& path, const std::string& folder);

}  // namespace lirno
