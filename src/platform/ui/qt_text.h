#pragma once
// The edge between engine bytes (Windows-1252) or UTF-8 program literals and
// Qt strings.
#include <QString>

#include <string>
#include <string_view>

namespace lirno {

// Windows-1252 bytes to a QString (each byte one UTF-16 unit, bijective).
QString fromAnsi(std::string_view bytes);

// QString to Windows-1252 bytes; characters without a byte become '?'.
std::string toAnsi(const QString& text);

// UTF-8 (program literals, paths) to and from QString.
inline QString fromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string toUtf8(const QString& text) { return text.toStdString(); }

}  // namespace lirno
