#include "documents/ui/info_dialog.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "documents/rich_text.h"
#include "documents/ui/rich_text_document.h"
#include "platform/file_read.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmInfo"));
  resize(700, 409);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  reInfo = new QTextBrowser;
  reInfo->setObjectName(QStringLiteral("reInfo"));
  // Links are ours to open (left button only, QTextBrowser's own rule); the
  // view never navigates away from the file.
  reInfo->setOpenLinks(false);
  reInfo->setOpenExternalLinks(false);
  reInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Read-only: protected text, and all the rest, may be selected and
  // copied, never changed.
  reInfo->setReadOnly(true);
  reInfo->setTextInteractionFlags(Qt::TextBrowserInteraction);
  layout->addWidget(reInfo, 1);
  connect(reInfo, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { openLink(url); });

  pnlBottom = new QWidget;
  pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
  auto* bottom = new QHBoxLayout(pnlBottom);
  bottom->setContentsMargins(6, 6, 6, 6);
  bottom->addStretch(1);
  btnOK = new QPushButton;
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnOK->setAutoDefault(true);
  bottom->addWidget(btnOK);
  bottom->addStretch(1);
  layout->addWidget(pnlBottom);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

  retranslate();
}

void TfrmInfo::retranslate() {
  setWindowTitle(QStringLiteral("Lirno"));
  btnOK->setText(fromUtf8(translate("OK")));
}

void TfrmInfo::showEvent(QShowEvent* event) {
  // The language's control lines for frmInfo are applied as it is shown
  // (before this); the captions set here would undo them.
  QDialog::showEvent(event);
}

void TfrmInfo::loadBytes(std::string_view bytes) {
  RichText text = readRichText(bytes);
  detectLinks(text);
  fillDocument(*reInfo->document(), text);
  reInfo->moveCursor(QTextCursor::Start);
}

bool TfrmInfo::loadFile(const std::string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  loadBytes(bytes);
  return true;
}

bool TfrmInfo::showFile(const std::string& path) {
  if (!loadFile(path)) {
    showFileNotFound(path, parentWidget());
    return false;
  }
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  return true;
}

void TfrmInfo::openLink(const QUrl& url) {
  if (opener_) {
    opener_(url);
  } else {
    // What the system cannot open is the system's to report.
    QDesktopServices::openUrl(url);
  }
}

}  // namespace lirno
