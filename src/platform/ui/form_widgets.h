#pragma once
// Small helpers the forms share when they build their controls.
#include <QFont>
#include <QString>

namespace lirno {

// Gives `w` its control name (language files address controls by it).
template <class W>
W* named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// The forms' font: Arial (or the system's sans serif) at `pixels`.
inline QFont formFont(int pixels = 13) {
  QFont f(QStringLiteral("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixels);
  return f;
}

}  // namespace lirno
