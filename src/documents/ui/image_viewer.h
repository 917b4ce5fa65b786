#pragma once
#include <QDialog>

namespace lirno {

// "Lirno": one instance for the whole process, shared by the main windows.
class TfrmImage : public QDialog {
 public:
  explicit TfrmImage(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmImage"));
    setWindowTitle(QString::fromUtf8("Lirno"));
    resize(640, 480);
  }
};

}  // namespace lirno
