#pragma once
// The about text in a read-only view that closes with "OK".
#include <string>

class QWidget;

namespace lirno {

// `bytes` is the file's content (Windows-1252 text). Modal.
void showAboutText(QWidget* parent, const std::string& bytes);

}  // namespace lirno
