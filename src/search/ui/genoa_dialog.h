#pragma once
#include <QDialog>

namespace lirno {

// "Genor": one instance for the whole process, shared by the main windows.
class TfrmGenoa : public QDialog {
 public:
  explicit TfrmGenoa(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGenoa"));
    setWindowTitle(QString::fromUtf8("Genor"));
    resize(360, 420);
  }
};

}  // namespace lirno
