#include "platform/ui/qt_text.h"

#include "platform/cp1252.h"

namespace lirno {

QString fromAnsi(std::string_view bytes) {
  QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* d = out.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    d[i] = QChar(static_cast<char16_t>(cp1252ToUnicode(static_cast<unsigned char>(bytes[i]))));
  }
  return out;
}

std::string toAnsi(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) {
    const int b = unicodeToCp1252(c.unicode());
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

}  // namespace lirno
