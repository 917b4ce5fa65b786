#pragma once
#include <QDialog>

namespace lirno {

// "Ajouter une chaîne": one instance for the whole process, shared by the main windows.
class TfrmAddStr : public QDialog {
 public:
  explicit TfrmAddStr(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAddStr"));
    setWindowTitle(QString::fromUtf8("Ajouter une chaîne"));
    resize(320, 200);
  }
};

}  // namespace lirno
