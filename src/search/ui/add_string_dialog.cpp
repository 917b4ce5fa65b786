#include "search/ui/add_string_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/ui/message.h"
#include "platform/ui/form_widgets.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

// The French captions; the language file's control lines replace them
// when the dialog is shown.
QString french(const char* text) { return QString::fromUtf8(text); }

const char* const kPlaces[] = {"Indifférente", "Début de mot", "Fin de mot", "Milieu de mot", "Mot entier"};

// The upper case of a character when it has one of a single character in
// Windows-1252 (µ and ß stay as they are, as the system's ANSI upper case
// leaves them).
QChar upper(QChar c) {
  const QChar u = c.toUpper();
  if (u == c) return c;
  const std::string back = toAnsi(QString(u));
  return back.size() == 1 && fromAnsi(back) == QString(u) ? u : c;
}

}  // namespace

TfrmAddStr::TfrmAddStr(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAddStr"));
  setFont(formFont());

  ui.edWord = new QLineEdit;
  ui.edWord->setObjectName(QStringLiteral("edWord"));
  ui.edWord->setMaxLength(kMaxLength);
  ui.pnlPlace.box = new QGroupBox;
  ui.pnlPlace.box->setObjectName(QStringLiteral("pnlPlace"));
  ui.pnlPlace.buttons = new QButtonGroup(ui.pnlPlace.box);
  auto* places = new QVBoxLayout(ui.pnlPlace.box);
  places->setContentsMargins(6, 2, 6, 4);
  places->setSpacing(0);
  for (int id = 0; id < 5; ++id) {
    auto* b = new QRadioButton;
    b->setObjectName(QStringLiteral("pnlPlace_%1").arg(id));
    ui.pnlPlace.buttons->addButton(b, id);
    places->addWidget(b);
  }
  ui.pnlPlace.setIndex(kPlaceAnywhere);
  ui.chkExclude = new QCheckBox;
  ui.chkExclude->setObjectName(QStringLiteral("chkExclude"));
  ui.chkExclude->setEnabled(false);
  ui.OKBtn = new QPushButton;
  ui.OKBtn->setObjectName(QStringLiteral("OKBtn"));
  ui.OKBtn->setDefault(true);
  ui.CancelBtn = new QPushButton;
  ui.CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  ui.CancelBtn->setAutoDefault(false);

  auto* root = new QVBoxLayout(this);
  root->addWidget(ui.edWord);
  auto* middle = new QHBoxLayout;
  middle->addWidget(ui.pnlPlace.box, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(ui.chkExclude);
  side->addStretch(1);
  side->addWidget(ui.OKBtn);
  side->addWidget(ui.CancelBtn);
  middle->addLayout(side);
  root->addLayout(middle);
  setCaptions();
  setFixedSize(sizeHint().expandedTo(QSize(320, 0)));

  connect(ui.edWord, &QLineEdit::textEdited, this, [this] { upperCaseTyped(); });
  connect(ui.OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAddStr::setCaptions() {
  setWindowTitle(french("Ajouter une chaîne"));
  ui.pnlPlace.box->setTitle(french("Position"));
  for (int i = 0; i < 5; ++i) ui.pnlPlace.buttons->button(i)->setText(french(kPlaces[i]));
  ui.chkExclude->setText(french("Exclure"));
  ui.OKBtn->setText(french("OK"));
  ui.CancelBtn->setText(french("Annuler"));
}

void TfrmAddStr::upperCaseTyped() {
  const QString typed = ui.edWord->text();
  QString up = typed;
  for (QChar& c : up) c = upper(c);
  if (up == typed) return;
  const int caret = ui.edWord->cursorPosition();
  ui.edWord->setText(up);
  ui.edWord->setCursorPosition(caret);
}

void TfrmAddStr::clear() {
  ui.edWord->clear();
  ui.pnlPlace.setIndex(kPlaceAnywhere);
  ui.chkExclude->setChecked(false);
}

std::string TfrmAddStr::text() const { return toAnsi(ui.edWord->text().trimmed()); }

int TfrmAddStr::place() const { return std::max(0, ui.pnlPlace.index()); }

int TfrmAddStr::run() {
  setCaptions();
  ui.edWord->setFocus();
  if (runner_) return runner_(*this);
  return exec();
}

}  // namespace lirno
