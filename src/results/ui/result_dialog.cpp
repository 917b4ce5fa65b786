#include "results/ui/result_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/form_widgets.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

// The French captions; the language file's control lines replace them
// when the dialog is shown.
QString french(const char* text) { return QString::fromUtf8(text); }

QCheckBox* checkBox(const char* name, bool checked) {
  auto* c = named(new QCheckBox, name);
  c->setChecked(checked);
  return c;
}

// A radio group of `count` items, one under the other, named name_0 ...
QButtonGroup* radioItems(QGroupBox* box, int count) {
  auto* group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(0);
  for (int id = 0; id < count; ++id) {
    auto* b = new QRadioButton;
    b->setObjectName(box->objectName() + QStringLiteral("_%1").arg(id));
    group->addButton(b, id);
    layout->addWidget(b);
  }
  group->button(0)->setChecked(true);
  return group;
}

const char* const kExtractKinds[] = {"Aucun", "Mots", "Phrases", "Paragraphes"};
const char* const kExtractModes[] = {"Groupée par extraits", "Détaillée par mots"};

std::string runSaveDialog(QWidget* parent, const std::string& folder, const std::string& proposed) {
  QFileDialog dialog(parent, QString(), fromUtf8(folder), qtFileFilter(TfrmResult::kFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  // "Ajouter au fichier" may be meant: replacing is decided by the form.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!proposed.empty()) dialog.selectFile(fromUtf8(proposed));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return toUtf8(dialog.selectedFiles().front());
}

}  // namespace

TfrmResult::TfrmResult(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmResult"));
  buildLayout();
  setCaptions();
  updateEnabling();
}

void TfrmResult::buildLayout() {
  setFont(formFont());

  ui.edFile = named(new QLineEdit, "edFile");
  ui.btnFile = named(new QPushButton, "btnFile");
  ui.btnFile->setAutoDefault(false);
  ui.btnFile->setFixedWidth(32);
  ui.chkContext = checkBox("chkContext", true);
  ui.chkTarget = checkBox("chkTarget", true);
  ui.chkTargRef = checkBox("chkTargRef", true);
  ui.chkApend = checkBox("chkApend", false);
  ui.pnlExtrait = named(new QGroupBox, "pnlExtrait");
  ui.extractKinds = radioItems(ui.pnlExtrait, 4);
  ui.pnlExtMode = named(new QGroupBox, "pnlExtMode");
  ui.extractModes = radioItems(ui.pnlExtMode, 2);
  ui.chkExtRef = checkBox("chkExtRef", true);
  ui.chkExtBalise = checkBox("chkExtBalise", true);
  ui.OKBtn = named(new QPushButton, "OKBtn");
  ui.OKBtn->setDefault(true);
  ui.CancelBtn = named(new QPushButton, "CancelBtn");
  ui.CancelBtn->setAutoDefault(false);

  auto* root = new QVBoxLayout(this);
  auto* file = new QHBoxLayout;
  file->addWidget(ui.edFile, 1);
  file->addWidget(ui.btnFile);
  root->addLayout(file);

  auto* columns = new QGridLayout;
  auto* sections = new QVBoxLayout;
  sections->addWidget(ui.chkContext);
  sections->addWidget(ui.chkTarget);
  auto* refs = new QHBoxLayout;
  refs->addSpacing(18);
  refs->addWidget(ui.chkTargRef);
  sections->addLayout(refs);
  sections->addSpacing(8);
  sections->addWidget(ui.chkApend);
  sections->addStretch(1);
  columns->addLayout(sections, 0, 0, 2, 1);
  columns->addWidget(ui.pnlExtrait, 0, 1);
  auto* extracts = new QVBoxLayout;
  extracts->addWidget(ui.pnlExtMode);
  extracts->addWidget(ui.chkExtRef);
  extracts->addWidget(ui.chkExtBalise);
  extracts->addStretch(1);
  columns->addLayout(extracts, 0, 2);
  root->addLayout(columns, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(ui.OKBtn);
  bottom->addWidget(ui.CancelBtn);
  root->addLayout(bottom);

  connect(ui.btnFile, &QPushButton::clicked, this, [this] { btnFileClick(); });
  connect(ui.edFile, &QLineEdit::textChanged, this, [this] { updateEnabling(); });
  connect(ui.chkTarget, &QCheckBox::toggled, this, [this] { updateEnabling(); });
  connect(ui.extractKinds, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (on) updateEnabling();
  });
  connect(ui.OKBtn, &QPushButton::clicked, this, [this] {
    if (!fileName().empty()) accept();
  });
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmResult::setCaptions() {
  setWindowTitle(french("Résultat"));
  ui.btnFile->setText(QStringLiteral("..."));
  ui.chkContext->setText(french("Informations"));
  ui.chkTarget->setText(french("Liste"));
  ui.chkTargRef->setText(french("Références"));
  ui.chkApend->setText(french("Ajouter au fichier"));
  ui.pnlExtrait->setTitle(french("Extraits"));
  for (int i = 0; i < 4; ++i) ui.extractKinds->button(i)->setText(french(kExtractKinds[i]));
  ui.pnlExtMode->setTitle(french("Présentation"));
  for (int i = 0; i < 2; ++i) ui.extractModes->button(i)->setText(french(kExtractModes[i]));
  ui.chkExtRef->setText(french("Références"));
  ui.chkExtBalise->setText(french("Balises"));
  ui.OKBtn->setText(french("OK"));
  ui.CancelBtn->setText(french("Annuler"));
}

void TfrmResult::setExtractKind(int kind) {
  if (QAbstractButton* b = ui.extractKinds->button(kind)) b->setChecked(true);
}

int TfrmResult::extractKind() const { return std::max(0, ui.extractKinds->checkedId()); }

ReportOptions TfrmResult::options() const {
  ReportOptions o;
  o.information = ui.chkContext->isChecked();
  o.list = ui.chkTarget->isChecked();
  o.references = ui.chkTargRef->isChecked();
  o.append = ui.chkApend->isChecked();
  o.extracts = extractKind();
  o.detailed = ui.extractModes->checkedId() == 1;
  o.extractReferences = ui.chkExtRef->isChecked();
  o.spans = ui.chkExtBalise->isChecked();
  return o;
}

std::string TfrmResult::fileName() const { return toUtf8(ui.edFile->text().trimmed()); }

void TfrmResult::updateEnabling() {
  ui.OKBtn->setEnabled(!fileName().empty());
  ui.chkTargRef->setEnabled(ui.chkTarget->isChecked());
  const bool extracts = extractKind() > 0;
  ui.chkExtRef->setEnabled(extracts);
  ui.chkExtBalise->setEnabled(extracts);
}

int TfrmResult::run() {
  setCaptions();
  updateEnabling();
  adjustSize();
  setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
  ui.edFile->setFocus();
  if (runner_) return runner_(*this);
  return exec();
}

void TfrmResult::btnFileClick() {
  const std::string proposed = fileName();
  const std::string folder = proposed.empty() ? folder_ : folderOf(proposed);
  const std::string chosen =
      chooser_ ? chooser_(this, folder, proposed) : runSaveDialog(this, folder, proposed);
  if (!chosen.empty()) ui.edFile->setText(fromUtf8(chosen));
  updateEnabling();
}

}  // namespace lirno
