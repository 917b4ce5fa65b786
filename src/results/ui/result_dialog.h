#pragma once
#include <QDialog>

namespace lirno {

// "Résultat": one instance for the whole process, shared by the main windows.
class TfrmResult : public QDialog {
 public:
  explicit TfrmResult(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmResult"));
    setWindowTitle(QString::fromUtf8("Résultat"));
    resize(420, 360);
  }
};

}  // namespace lirno
