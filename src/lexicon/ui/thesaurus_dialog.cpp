#include "lexicon/ui/thesaurus_dialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "lexicon/ui/lexicon_files.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {

TfrmThesaurus::TfrmThesaurus(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmThesaurus"));
  setWindowTitle(QStringLiteral("Thesaurus"));
  buildLayout();
}

void TfrmThesaurus::buildLayout() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  ui.edWord = new QLineEdit(this);
  ui.edWord->setObjectName(QStringLiteral("edWord"));
  ui.edWord->setFont(font);
  ui.edWord->installEventFilter(this);
  ui.lstWord = new QListWidget(this);
  ui.lstWord->setObjectName(QStringLiteral("lstWord"));
  ui.lstWord->setFont(font);
  ui.lstWord->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ui.lstWord->installEventFilter(this);
  ui.lstWord->viewport()->installEventFilter(this);

  auto button = [this](const char* name, const char* caption, bool enabled) {
    return formButton(this, name, caption, enabled);
  };
  ui.btnAdd = button("btnAdd", "&Ajouter", false);
  ui.btnRepl = button("btnRepl", "&Remplacer", false);
  ui.btnDel = button("btnDel", "&Supprimer", false);
  ui.btnSave = button("btnSave", "Sau&ver", false);
  ui.OKBtn = button("OKBtn", "OK", true);
  ui.OKBtn->setDefault(true);
  ui.CancelBtn = button("CancelBtn", "Annuler", true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(ui.edWord, 0, 0);
  grid->addWidget(ui.lstWord, 1, 0);
  auto* side = new QVBoxLayout;
  for (QPushButton* b : {ui.btnAdd, ui.btnRepl, ui.btnDel}) side->addWidget(b);
  side->addStretch(1);
  for (QPushButton* b : {ui.btnSave, ui.OKBtn, ui.CancelBtn}) side->addWidget(b);
  grid->addLayout(side, 0, 1, 2, 1);
  setFixedSize(420, 360);

  connect(ui.edWord, &QLineEdit::textEdited, this, [this] { edWordChanged(); });
  connect(ui.btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
  connect(ui.btnRepl, &QPushButton::clicked, this, [this] { btnReplClick(); });
  connect(ui.btnDel, &QPushButton::clicked, this, [this] { btnDelClick(); });
  connect(ui.btnSave, &QPushButton::clicked, this, [this] { done(Save); });
  connect(ui.OKBtn, &QPushButton::clicked, this, [this] { btnOkClick(); });
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmThesaurus::eventFilter(QObject* watched, QEvent* event) {
  // Enter after typing a word adds it, as the user means; the default
  // button "OK" would close the dialog and lose the word.
  if (watched == ui.edWord && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && ui.btnAdd->isEnabled()) {
      ui.btnAdd->click();
      return true;
    }
  }
  const bool box = watched == ui.lstWord || watched == ui.lstWord->viewport();
  if (box && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease)) {
    lstWordClick();
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmThesaurus::fill(const std::vector<std::string>& list) {
  ui.lstWord->clear();
  for (const std::string& e : list) insertSorted(*ui.lstWord, fromAnsi(e));
  ui.edWord->clear();
  for (QPushButton* b : {ui.btnAdd, ui.btnRepl, ui.btnDel, ui.btnSave}) b->setEnabled(false);
  changed_ = false;
}

std::vector<std::string> TfrmThesaurus::entries() const {
  std::vector<std::string> out;
  for (const QString& e : boxEntries(*ui.lstWord)) out.push_back(toAnsi(e));
  return out;
}

void TfrmThesaurus::clearEntries() { ui.lstWord->clear(); }

int TfrmThesaurus::run() {
  centreOnScreen(*this);
  ui.edWord->setFocus();
  if (runner_) return runner_(*this);
  return exec();
}

QString TfrmThesaurus::typed() const { return ui.edWord->text().trimmed(); }

void TfrmThesaurus::edWordChanged() {
  const QString t = typed();
  const bool add = !t.isEmpty() && !boxEntries(*ui.lstWord).contains(t);
  ui.btnAdd->setEnabled(add);
  ui.btnRepl->setEnabled(add && selectedRow(*ui.lstWord) >= 0);
}

void TfrmThesaurus::lstWordClick() {
  const int row = selectedRow(*ui.lstWord);
  ui.btnDel->setEnabled(row >= 0);
  if (row >= 0) ui.edWord->setText(ui.lstWord->item(row)->text().trimmed());
  ui.btnAdd->setEnabled(false);
  ui.btnRepl->setEnabled(false);
}

void TfrmThesaurus::markChanged() {
  changed_ = true;
  ui.btnSave->setEnabled(true);
}

void TfrmThesaurus::btnAddClick() {
  const QString t = typed();
  if (t.isEmpty() || boxEntries(*ui.lstWord).contains(t) || !checkAnsiText(t, this)) return;
  insertSorted(*ui.lstWord, t);
  ui.edWord->setFocus();
  ui.btnAdd->setEnabled(false);
  ui.btnRepl->setEnabled(false);
  markChanged();
}

void TfrmThesaurus::btnReplClick() {
  const int row = selectedRow(*ui.lstWord);
  const QString t = typed();
  if (row < 0 || t.isEmpty() || boxEntries(*ui.lstWord).contains(t) || !checkAnsiText(t, this)) return;
  ui.lstWord->item(row)->setText(t);
  ui.edWord->setFocus();
  ui.btnAdd->setEnabled(false);
  ui.btnRepl->setEnabled(false);
  markChanged();
}

void TfrmThesaurus::btnDelClick() {
  QListWidget& box = *ui.lstWord;
  // From the bottom up, so that the last one removed is the topmost: the
  // entry that then takes its place is the one after the removed block.
  int place = 0;
  for (int i = box.count() - 1; i >= 0; --i) {
    if (!box.item(i)->isSelected()) continue;
    delete box.takeItem(i);
    place = i;
  }
  box.clearSelection();
  if (place < box.count()) {
    box.setCurrentRow(place, QItemSelectionModel::ClearAndSelect);
    ui.edWord->setText(box.item(place)->text().trimmed());
  } else {
    ui.edWord->clear();
  }
  ui.btnAdd->setEnabled(false);
  ui.btnRepl->setEnabled(false);
  ui.edWord->setFocus();
  ui.btnDel->setEnabled(selectedRow(box) >= 0);
  markChanged();
}

void TfrmThesaurus::btnOkClick() {
  // Without a change OK is a Cancel: the thesaurus is not marked as changed.
  done(changed_ ? Accepted : Rejected);
}

}  // namespace lirno
