#include "search/ui/find_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "search/request_builder.h"

namespace lirno {
namespace {

std::unique_ptr<SearchString> newString(std::string text) {
  auto s = std::make_unique<SearchString>();
  s->text = std::move(text);
  return s;
}

}  // namespace

TfrmFind::TfrmFind(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmFind"));
  setWindowTitle(QStringLiteral("Recherche"));
  buildLayout();
  wire();
  contextChanged();
  resultChanged();
  orthoChanged();
  refresh();
}

void TfrmFind::wire() {
  connect(ui.edWord, &QLineEdit::textChanged, this, [this] { edWordChanged(); });
  connect(ui.lstWord, &QListWidget::currentRowChanged, this, [this] { refresh(); });
  connect(ui.lstWord, &QListWidget::itemSelectionChanged, this, [this] { refresh(); });
  connect(ui.btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
  connect(ui.btnRepl, &QPushButton::clicked, this, [this] { btnReplClick(); });
  connect(ui.btnDel, &QPushButton::clicked, this, [this] { btnDelClick(); });
  connect(ui.btnClear, &QPushButton::clicked, this, [this] { btnClearClick(); });
  connect(ui.btnThesaurus, &QPushButton::clicked, this, [this] { btnThesaurusClick(); });
  connect(ui.pnlPlace.buttons, &QButtonGroup::idClicked, this, [this] { placeOrExcludeClicked(); });
  connect(ui.chkExclude, &QCheckBox::clicked, this, [this] { placeOrExcludeClicked(); });
  connect(ui.pnlContext.buttons, &QButtonGroup::idToggled, this, [this] { contextChanged(); });
  connect(ui.pnlOrtho.buttons, &QButtonGroup::idToggled, this, [this] { orthoChanged(); });
  connect(ui.pnlResult.buttons, &QButtonGroup::idToggled, this, [this] { resultChanged(); });
  connect(ui.chkAsOrtho, &QCheckBox::toggled, this, [this] { resultChanged(); });
  connect(ui.OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

cArrowList& TfrmFind::strings() { return strings_ ? *strings_ : idle_; }

QString TfrmFind::enteredText() const {
  QString t = ui.edWord->text();
  t.removeIf([](QChar c) { return c.isSpace(); });
  return t;
}

void TfrmFind::prepare(cArrowList& list, const FindSetup& setup) {
  strings_ = &list;
  thesaurus_ = setup.thesaurus;
  ui.btnThesaurus->setEnabled(thesaurus_ != nullptr);
  ui.udGenoa->setMaximum(std::max(1, setup.highestVariantLevel));
  ui.chkCorpus->setEnabled(setup.corpusLoaded);
  if (!setup.corpusLoaded) ui.chkCorpus->setChecked(false);
  if (setup.corpusLoaded && !setup.documentOpen) ui.chkCorpus->setChecked(true);
  // Another rules file may have come in since the list was filled.
  if (setup.filterDefinitions != filterDefinitions_) fillFilters(setup.filterDefinitions);

  ui.lstWord->clear();
  for (const auto& s : list) ui.lstWord->addItem(fromAnsi(s->text));
  contextChanged();
  refresh();
  ui.edWord->setFocus();
}

void TfrmFind::present(std::function<void(bool)> finished) {
  finished_ = std::move(finished);
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  ui.edWord->setFocus();
}

void TfrmFind::done(int result) {
  // With an empty box the field is the string searched: it must have a
  // Windows-1252 form, or the dialog stays open.
  if (result == QDialog::Accepted && ui.lstWord->count() == 0 && !checkAnsiText(enteredText(), this)) {
    return;
  }
  QDialog::done(result);
  auto finished = std::move(finished_);
  finished_ = nullptr;
  if (finished) finished(result == QDialog::Accepted);
  strings_ = nullptr;
  thesaurus_ = nullptr;
}

void TfrmFind::fillFilters(const std::vector<std::string>& definitions) {
  filterDefinitions_ = definitions;
  ui.lstFilter->clear();
  for (const std::string& d : definitions) {
    // The key and ":", then the name up to "=", translated.
    const std::string key = d.substr(0, std::min<std::size_t>(2, d.size()));
    const std::string name = d.size() > 2 ? d.substr(2, d.find('=') == std::string::npos
                                                            ? std::string::npos
                                                            : d.find('=') - 2)
                                          : std::string();
    auto* item = new QListWidgetItem(fromAnsi(key) + fromUtf8(translate(cp1252ToUtf8(name))));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
    ui.lstFilter->addItem(item);
  }
}

void TfrmFind::readRequest(SearchRequest& request, bool corpusLoaded, bool documentOpen) const {
  request.spelling = std::clamp(ui.pnlOrtho.index(), 0, 3);
  request.ignoreSeparators = ui.chkSepar->isChecked();
  request.context = std::clamp(ui.pnlContext.index(), 0, 3);
  // Counted only while enabled, that is outside the context "Texte".
  request.allStrings = request.context != kContextText && ui.chkAll->isChecked();
  request.inOrder = request.context != kContextText && ui.chkOrder->isChecked();
  request.resultLikeSpelling = ui.chkAsOrtho->isChecked();
  request.resultSpelling = request.resultLikeSpelling ? std::min(request.spelling, int{kResultReduced})
                                                      : std::clamp(ui.pnlResult.index(), 0, 2);
  request.showSymbols = ui.chkSymbol->isChecked() && request.resultSpelling < kResultReduced;
  request.sortFromRight = ui.chkRightSort->isChecked();
  request.generationLevel = ui.udGenoa->value();
  request.saveGenerations = ui.chkSaveGenoa->isChecked();
  request.useCorpus = corpusLoaded && (ui.chkCorpus->isChecked() || !documentOpen);
  request.filters.clear();
  request.filterDescription.clear();
  for (int i = 0; i < ui.lstFilter->count(); ++i) {
    if (ui.lstFilter->item(i)->checkState() == Qt::Checked) {
      addFilter(filterDefinitions_[static_cast<std::size_t>(i)], request);
    }
  }
  numberStrings(request.strings);
}

// --- The strings and their box --------------------------------------------

void TfrmFind::edWordChanged() {
  if (ui.lstWord->count() == 0) {
    // With an empty box the field is the one string.
    cArrowList& list = strings();
    const QString typed = enteredText();
    // A text without a Windows-1252 form is not taken (OK says why).
    if (!charactersWithoutCp1252(toUtf8(typed)).empty()) {
      refresh();
      return;
    }
    const std::string t = toAnsi(typed);
    if (t.empty()) {
      list.clear();
    } else if (list.empty()) {
      list.push_back(newString(t));
    } else {
      list[0]->text = t;
    }
  }
  refresh();
}

void TfrmFind::btnAddClick() {
  const QString t = enteredText();
  if (t.isEmpty() || !checkAnsiText(t, this)) return;
  cArrowList& list = strings();
  ui.lstWord->addItem(t);
  const int last = ui.lstWord->count() - 1;
  ui.lstWord->setCurrentRow(last, QItemSelectionModel::ClearAndSelect);
  if (ui.lstWord->count() > 1 || list.empty()) {
    list.push_back(newString(toAnsi(t)));
  } else {
    list[0]->text = toAnsi(t);  // the string made while typing stands for the entry
  }
  ui.edWord->clear();
  ui.edWord->setFocus();
  refresh();
}

void TfrmFind::btnReplClick() {
  const int i = ui.lstWord->currentRow();
  cArrowList& list = strings();
  if (i < 0 || i >= static_cast<int>(list.size())) return;
  const QString t = enteredText();
  if (!checkAnsiText(t, this)) return;
  list[static_cast<std::size_t>(i)]->text = toAnsi(t);
  ui.lstWord->item(i)->setText(t);
  refresh();
}

void TfrmFind::btnDelClick() {
  std::vector<int> rows;
  for (int i = 0; i < ui.lstWord->count(); ++i) {
    if (ui.lstWord->item(i)->isSelected()) rows.push_back(i);
  }
  cArrowList& list = strings();
  // From the last, so that the earlier indexes stay valid.
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    delete ui.lstWord->takeItem(*it);
    if (*it < static_cast<int>(list.size())) list.erase(list.begin() + *it);
  }
  if (ui.lstWord->count() == 0) {
    ui.lstWord->setCurrentRow(-1);
  } else if (ui.lstWord->currentRow() >= 0) {
    ui.lstWord->setCurrentRow(ui.lstWord->currentRow(), QItemSelectionModel::ClearAndSelect);
  }
  refresh();
}

void TfrmFind::emptyStrings() {
  ui.lstWord->clear();
  strings().clear();
  ui.edWord->clear();
  ui.pnlPlace.setIndex(kPlaceAnywhere);
  ui.chkExclude->setChecked(false);
}

void TfrmFind::btnClearClick() {
  emptyStrings();
  ui.chkSepar->setChecked(true);
  refresh();
}

void TfrmFind::btnThesaurusClick() {
  emptyStrings();
  if (thesaurus_) {
    for (std::string& s : thesaurusSearchTexts(*thesaurus_)) {
      ui.lstWord->addItem(fromAnsi(s));
      strings().push_back(newString(std::move(s)));
    }
  }
  refresh();
}

void TfrmFind::placeOrExcludeClicked() {
  if (showingValues_) return;
  cArrowList& list = strings();
  int i = ui.lstWord->currentRow();
  if (i < 0 && list.size() == 1) i = 0;
  if (i < 0 || i >= static_cast<int>(list.size())) return;
  SearchString& s = *list[static_cast<std::size_t>(i)];
  s.place = std::max(0, ui.pnlPlace.index());
  s.exclude = ui.chkExclude->isChecked();
}

void TfrmFind::refresh() {
  const QString t = enteredText();
  bool isNew = !t.isEmpty();
  for (int i = 0; isNew && i < ui.lstWord->count(); ++i) {
    if (ui.lstWord->item(i)->text() == t) isNew = false;
  }
  const int current = ui.lstWord->currentRow();
  ui.OKBtn->setEnabled(!t.isEmpty() || ui.lstWord->count() > 0);
  ui.btnAdd->setEnabled(isNew);
  ui.btnRepl->setEnabled(isNew && current >= 0);
  ui.btnDel->setEnabled(current >= 0);
  ui.btnClear->setEnabled(true);
  const cArrowList& list = strings();
  if (current >= 0 && current < static_cast<int>(list.size())) {
    showingValues_ = true;
    ui.pnlPlace.setIndex(list[static_cast<std::size_t>(current)]->place);
    ui.chkExclude->setChecked(list[static_cast<std::size_t>(current)]->exclude);
    showingValues_ = false;
  }
  ui.btnAdd->setDefault(isNew);
  ui.OKBtn->setDefault(!isNew);
}

// --- Options ----------------------------------------------------------------

void TfrmFind::contextChanged() {
  const int context = ui.pnlContext.index();
  for (QWidget* w : {static_cast<QWidget*>(ui.chkExclude), static_cast<QWidget*>(ui.chkAll),
                     static_cast<QWidget*>(ui.chkOrder)}) {
    w->setEnabled(context != kContextText);
  }
  ui.chkSepar->setEnabled(context != kContextWord);
}

void TfrmFind::resultChanged() {
  ui.pnlResult.setItemsEnabled(!ui.chkAsOrtho->isChecked());
  ui.chkSymbol->setEnabled(ui.pnlResult.index() == kResultSame || ui.pnlResult.index() == kResultUpper);
}

void TfrmFind::orthoChanged() {
  const bool generated = ui.pnlOrtho.index() == kSpellingGenerated;
  ui.udGenoa->setEnabled(generated);
  ui.lblGenoa->setEnabled(generated);
}

}  // namespace lirno
