#pragma once
#include <QDialog>

namespace lirno {

// "Lirno": one instance for the whole process, shared by the main windows.
class TfrmInfo : public QDialog {
 public:
  explicit TfrmInfo(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QString::fromUtf8("Lirno"));
    resize(700, 409);
  }
};

}  // namespace lirno
