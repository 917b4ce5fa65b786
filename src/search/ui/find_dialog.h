#pragma once
#include <QDialog>

namespace lirno {

// "Recherche": one instance for the whole process, shared by the main windows.
class TfrmFind : public QDialog {
 public:
  explicit TfrmFind(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QString::fromUtf8("Recherche"));
    resize(520, 420);
  }
};

}  // namespace lirno
