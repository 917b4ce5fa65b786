#include "lexicon/ui/corpus_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "lexicon/ui/lexicon_files.h"
#include "platform/ui/qt_text.h"

namespace lirno {

TfrmCorpus::TfrmCorpus(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmCorpus"));
  setWindowTitle(QStringLiteral("Corpus"));
  buildLayout();
}

void TfrmCorpus::buildLayout() {
  ui.lstWord = new QListWidget(this);
  ui.lstWord->setObjectName(QStringLiteral("lstWord"));
  ui.lstWord->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ui.lstWord->installEventFilter(this);
  ui.lstWord->viewport()->installEventFilter(this);

  auto button = [this](const char* name, const char* caption, bool enabled) {
    return formButton(this, name, caption, enabled);
  };
  ui.btnAdd = button("btnAdd", "&Ajouter", true);
  ui.btnDel = button("btnDel", "&Supprimer", false);
  ui.btnSave = button("btnSave", "Sau&ver", false);
  ui.OKBtn = button("OKBtn", "OK", true);
  ui.OKBtn->setDefault(true);
  ui.CancelBtn = button("CancelBtn", "Annuler", true);

  auto* row = new QHBoxLayout(this);
  row->addWidget(ui.lstWord, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(ui.btnAdd);
  side->addWidget(ui.btnDel);
  side->addStretch(1);
  for (QPushButton* b : {ui.btnSave, ui.OKBtn, ui.CancelBtn}) side->addWidget(b);
  row->addLayout(side);
  setFixedSize(560, 360);

  connect(ui.btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
  connect(ui.btnDel, &QPushButton::clicked, this, [this] { btnDelClick(); });
  connect(ui.btnSave, &QPushButton::clicked, this, [this] { done(Save); });
  // Without a change OK is a Cancel: the corpus is not marked as changed.
  connect(ui.OKBtn, &QPushButton::clicked, this, [this] { done(changed_ ? Accepted : Rejected); });
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmCorpus::eventFilter(QObject* watched, QEvent* event) {
  const bool box = watched == ui.lstWord || watched == ui.lstWord->viewport();
  if (box && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease)) {
    enableDelete();
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmCorpus::fill(const std::vector<std::string>& paths, const std::string& documentFolder) {
  ui.lstWord->clear();
  for (const std::string& p : paths) insertSorted(*ui.lstWord, fromUtf8(p));
  documentFolder_ = documentFolder;
  ui.btnDel->setEnabled(false);
  ui.btnSave->setEnabled(false);
  changed_ = false;
}

std::vector<std::string> TfrmCorpus::entries() const {
  std::vector<std::string> out;
  for (const QString& e : boxEntries(*ui.lstWord)) out.push_back(toUtf8(e));
  return out;
}

void TfrmCorpus::clearEntries() { ui.lstWord->clear(); }

int TfrmCorpus::run() {
  centreOnScreen(*this);
  if (runner_) return runner_(*this);
  return exec();
}

void TfrmCorpus::enableDelete() { ui.btnDel->setEnabled(selectedRow(*ui.lstWord) >= 0); }

void TfrmCorpus::markChanged() {
  changed_ = true;
  ui.btnSave->setEnabled(true);
}

void TfrmCorpus::btnAddClick() {
  FileQuestion q;
  q.multiple = true;
  q.filter = kDocumentFilter;
  q.defaultSuffix = "cor";
  q.folder = documentFolder_;
  for (const std::string& path : chooseFiles(this, q)) {
    const QString p = fromUtf8(path);
    bool held = false;
    for (const QString& e : boxEntries(*ui.lstWord)) {
      if (QString::compare(e, p, Qt::CaseInsensitive) == 0) {
        held = true;
        break;
      }
    }
    if (!held) insertSorted(*ui.lstWord, p);
  }
  // Even with nothing chosen, as the user asked to change the corpus.
  markChanged();
  enableDelete();
}

void TfrmCorpus::btnDelClick() {
  QListWidget& box = *ui.lstWord;
  for (int i = box.count() - 1; i >= 0; --i) {
    if (box.item(i)->isSelected()) delete box.takeItem(i);
  }
  markChanged();
  enableDelete();
}

}  // namespace lirno
