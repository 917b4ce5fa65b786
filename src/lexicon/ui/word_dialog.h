#pragma once
#include <QDialog>

namespace lirno {

// "Liste des mots": one instance for the whole process, shared by the main windows.
class TfrmWord : public QDialog {
 public:
  explicit TfrmWord(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmWord"));
    setWindowTitle(QString::fromUtf8("Liste des mots"));
    resize(420, 360);
  }
};

}  // namespace lirno
