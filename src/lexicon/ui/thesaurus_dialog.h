#pragma once
#include <QDialog>

namespace lirno {

// "Thesaurus": one instance for the whole process, shared by the main windows.
class TfrmThesaurus : public QDialog {
 public:
  explicit TfrmThesaurus(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmThesaurus"));
    setWindowTitle(QString::fromUtf8("Thesaurus"));
    resize(420, 360);
  }
};

}  // namespace lirno
