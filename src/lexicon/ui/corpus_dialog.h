#pragma once
#include <QDialog>

namespace lirno {

// "Corpus": one instance for the whole process, shared by the main windows.
class TfrmCorpus : public QDialog {
 public:
  explicit TfrmCorpus(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCorpus"));
    setWindowTitle(QString::fromUtf8("Corpus"));
    resize(520, 360);
  }
};

}  // namespace lirno
