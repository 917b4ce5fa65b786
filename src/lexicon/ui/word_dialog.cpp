#include "lexicon/ui/word_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "lexicon/ui/lexicon_files.h"
#include "platform/cp1252.h"
#include "platform/ui/message.h"
#include "platform/ui/form_widgets.h"
#include "platform/ui/qt_text.h"
#include "search/request_builder.h"

namespace lirno {
namespace {

// The French captions; the language file's control lines replace them
// when the dialog is shown.
QString french(const char* text) { return QString::fromUtf8(text); }

const char* const kResultSpellings[] = {"Identique", "Majuscule", "Modifiée"};

// The line of a filter definition "K:Name=patterns": "K:" and the name
// translated.
QString filterLine(const std::string& d) {
  const std::string key = d.substr(0, std::min<std::size_t>(2, d.size()));
  std::string name;
  if (d.size() > 2) {
    const std::size_t eq = d.find('=');
    name = d.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
  }
  return fromAnsi(key) + fromUtf8(translate(cp1252ToUtf8(name)));
}

}  // namespace

TfrmWord::TfrmWord(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmWord"));
  buildLayout();
  setCaptions();
  resultChanged();
}

void TfrmWord::buildLayout() {
  setFont(formFont());

  ui.pnlResult = named(new QGroupBox, "pnlResult");
  ui.resultSpellings = new QButtonGroup(ui.pnlResult);
  auto* result = new QVBoxLayout(ui.pnlResult);
  result->setContentsMargins(6, 2, 6, 4);
  result->setSpacing(0);
  for (int id = 0; id < 3; ++id) {
    auto* b = new QRadioButton;
    b->setObjectName(QStringLiteral("pnlResult_%1").arg(id));
    ui.resultSpellings->addButton(b, id);
    result->addWidget(b);
  }
  ui.resultSpellings->button(kResultReduced)->setChecked(true);
  ui.chkResSep = named(new QCheckBox, "chkResSep");
  result->addWidget(ui.chkResSep);
  ui.chkCorpus = named(new QCheckBox, "chkCorpus");
  ui.chkRightSort = named(new QCheckBox, "chkRightSort");
  ui.gbFilter = named(new QGroupBox, "gbFilter");
  ui.lstFilter = named(new QListWidget, "lstFilter");
  ui.lstFilter->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* filters = new QVBoxLayout(ui.gbFilter);
  filters->setContentsMargins(6, 2, 6, 6);
  filters->addWidget(ui.lstFilter);
  ui.OKBtn = formButton(this, "OKBtn", "OK", true);
  ui.OKBtn->setDefault(true);
  ui.CancelBtn = formButton(this, "CancelBtn", "Annuler", true);

  auto* root = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  left->addWidget(ui.pnlResult);
  left->addWidget(ui.chkCorpus);
  left->addWidget(ui.chkRightSort);
  left->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ui.OKBtn);
  buttons->addWidget(ui.CancelBtn);
  left->addLayout(buttons);
  root->addLayout(left);
  root->addWidget(ui.gbFilter, 1);
  setFixedSize(440, 260);

  connect(ui.resultSpellings, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (on) resultChanged();
  });
  connect(ui.OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmWord::setCaptions() {
  setWindowTitle(french("Liste des mots"));
  ui.pnlResult->setTitle(french("Résultat"));
  for (int i = 0; i < 3; ++i) ui.resultSpellings->button(i)->setText(french(kResultSpellings[i]));
  ui.chkResSep->setText(french("Affiche les symboles"));
  ui.chkCorpus->setText(french("Utiliser le corpus"));
  ui.gbFilter->setTitle(french("Filtres"));
  ui.chkRightSort->setText(french("Tri à droite"));
  ui.OKBtn->setText(french("OK"));
  ui.CancelBtn->setText(french("Annuler"));
  for (int i = 0; i < ui.lstFilter->count() && i < static_cast<int>(definitions_.size()); ++i) {
    ui.lstFilter->item(i)->setText(filterLine(definitions_[static_cast<std::size_t>(i)]));
  }
}

void TfrmWord::fillFilters(const std::vector<std::string>& definitions) {
  definitions_ = definitions;
  ui.lstFilter->clear();
  for (const std::string& d : definitions_) {
    auto* item = new QListWidgetItem(filterLine(d));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
    ui.lstFilter->addItem(item);
  }
}

int TfrmWord::resultSpelling() const { return std::clamp(ui.resultSpellings->checkedId(), 0, 2); }

void TfrmWord::resultChanged() { ui.chkResSep->setEnabled(resultSpelling() < kResultReduced); }

void TfrmWord::prepare(bool corpusLoaded, bool documentOpen) {
  ui.chkCorpus->setEnabled(corpusLoaded);
  if (corpusLoaded && !documentOpen) ui.chkCorpus->setChecked(true);
}

void TfrmWord::readRequest(SearchRequest& request, bool corpusLoaded, bool documentOpen) const {
  request.filters.clear();
  request.filterDescription.clear();
  for (int i = 0; i < ui.lstFilter->count() && i < static_cast<int>(definitions_.size()); ++i) {
    if (ui.lstFilter->item(i)->checkState() == Qt::Checked) {
      addFilter(definitions_[static_cast<std::size_t>(i)], request);
    }
  }
  request.resultSpelling = resultSpelling();
  request.showSymbols = ui.chkResSep->isChecked() && request.resultSpelling < kResultReduced;
  request.useCorpus = corpusLoaded && (ui.chkCorpus->isChecked() || !documentOpen);
  request.sortFromRight = ui.chkRightSort->isChecked();
}

int TfrmWord::run() {
  setCaptions();
  resultChanged();
  centreOnScreen(*this);
  if (runner_) return runner_(*this);
  return exec();
}

}  // namespace lirno
