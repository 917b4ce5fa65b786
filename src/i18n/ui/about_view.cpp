#include "i18n/ui/about_view.h"

#include <QDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {

void showAboutText(QWidget* parent, const std::string& bytes) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("frmAbout"));
  dialog.setWindowTitle(QStringLiteral("Lirno"));
  dialog.resize(560, 380);
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QTextBrowser(&dialog);
  text->setObjectName(QStringLiteral("reInfo"));
  text->setOpenExternalLinks(true);
  text->setPlainText(fromAnsi(bytes));
  layout->addWidget(text, 1);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignRight);
  dialog.exec();
}

}  // namespace lirno
