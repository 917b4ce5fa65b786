// The controls of TfrmFind, with their names, captions and defaults.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/ui/form_widgets.h"
#include "search/ui/find_dialog.h"

namespace lirno {
namespace {

QString utf8(const char* text) { return QString::fromUtf8(text); }

QCheckBox* checkBox(const char* name, const char* caption, bool checked) {
  auto* c = named(new QCheckBox(utf8(caption)), name);
  c->setChecked(checked);
  return c;
}

QPushButton* button(const char* name, const char* caption) {
  return named(new QPushButton(utf8(caption)), name);
}

// A radio group with its items one under the other, `checked` chosen.
RadioGroup radioGroup(const char* name, const char* caption, std::initializer_list<const char*> items,
                      int checked) {
  RadioGroup g;
  g.box = named(new QGroupBox(utf8(caption)), name);
  g.buttons = new QButtonGroup(g.box);
  auto* layout = new QVBoxLayout(g.box);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(0);
  int id = 0;
  for (const char* item : items) {
    auto* b = new QRadioButton(utf8(item));
    b->setObjectName(QString::fromLatin1(name) + QStringLiteral("_%1").arg(id));
    g.buttons->addButton(b, id);
    layout->addWidget(b);
    ++id;
  }
  g.setIndex(checked);
  return g;
}

}  // namespace

int RadioGroup::index() const { return buttons ? buttons->checkedId() : -1; }

void RadioGroup::setIndex(int i) {
  if (QAbstractButton* b = buttons ? buttons->button(i) : nullptr) b->setChecked(true);
}

void RadioGroup::setItemsEnabled(bool enabled) {
  for (QAbstractButton* b : buttons->buttons()) b->setEnabled(enabled);
}

void TfrmFind::buildLayout() {
  setFont(formFont());

  auto* root = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  root->addLayout(columns, 1);

  // Strings: the edit field, the box and their buttons; position and exclusion.
  auto* left = new QVBoxLayout;
  columns->addLayout(left, 3);
  ui.edWord = named(new QLineEdit, "edWord");
  left->addWidget(ui.edWord);
  auto* listRow = new QHBoxLayout;
  ui.lstWord = named(new QListWidget, "lstWord");
  ui.lstWord->setSelectionMode(QAbstractItemView::ExtendedSelection);
  listRow->addWidget(ui.lstWord, 1);
  auto* buttons = new QVBoxLayout;
  ui.btnAdd = button("btnAdd", "&Ajouter");
  ui.btnRepl = button("btnRepl", "&Remplacer");
  ui.btnDel = button("btnDel", "&Supprimer");
  ui.btnClear = button("btnClear", "&Effacer");
  ui.btnThesaurus = button("btnThesaurus", "Thesaurus");
  for (QPushButton* b : {ui.btnAdd, ui.btnRepl, ui.btnDel, ui.btnClear, ui.btnThesaurus}) {
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  listRow->addLayout(buttons);
  left->addLayout(listRow, 1);
  ui.pnlPlace = radioGroup("pnlPlace", "Position",
                           {"Indifférente", "Début de mot", "Fin de mot", "Milieu de mot", "Mot entier"}, 0);
  left->addWidget(ui.pnlPlace.box);
  ui.chkExclude = checkBox("chkExclude", "Exclure", false);
  left->addWidget(ui.chkExclude);

  // Spelling with the generation level; context.
  auto* middle = new QVBoxLayout;
  columns->addLayout(middle, 2);
  ui.pnlOrtho = radioGroup("pnlOrtho", "Orthographe", {"Identique", "Majuscule", "Modifiée", "Générée"},
                           kSpellingReduced);
  auto* generation = new QHBoxLayout;
  ui.udGenoa = named(new QSpinBox, "udGenoa");
  ui.udGenoa->setRange(1, 1);
  ui.udGenoa->setValue(1);
  ui.lblGenoa = named(new QLabel(utf8("niveau génération")), "lblGenoa");
  generation->addWidget(ui.udGenoa);
  generation->addWidget(ui.lblGenoa, 1);
  static_cast<QVBoxLayout*>(ui.pnlOrtho.box->layout())->addLayout(generation);
  ui.chkSaveGenoa = checkBox("chkSaveGenoa", "Sauver les générations", false);
  ui.pnlOrtho.box->layout()->addWidget(ui.chkSaveGenoa);
  middle->addWidget(ui.pnlOrtho.box);
  ui.pnlContext = radioGroup("pnlContext", "Contexte", {"Texte", "Mot", "Phrase", "Paragraphe"}, kContextText);
  ui.chkSepar = checkBox("chkSepar", "Ignore les séparateurs", true);
  ui.chkAll = checkBox("chkAll", "Toutes les chaînes", true);
  ui.chkOrder = checkBox("chkOrder", "Dans l'ordre", false);
  for (QCheckBox* c : {ui.chkSepar, ui.chkAll, ui.chkOrder}) ui.pnlContext.box->layout()->addWidget(c);
  middle->addWidget(ui.pnlContext.box);
  middle->addStretch(1);

  // Result spelling, sort, corpus, filters.
  auto* right = new QVBoxLayout;
  columns->addLayout(right, 2);
  ui.pnlResult = radioGroup("pnlResult", "Résultat", {"Identique", "Majuscule", "Modifié"}, kResultUpper);
  auto* resultLayout = static_cast<QVBoxLayout*>(ui.pnlResult.box->layout());
  ui.chkAsOrtho = checkBox("chkAsOrtho", "Comme l'orthographe", true);
  resultLayout->insertWidget(0, ui.chkAsOrtho);
  ui.chkSymbol = checkBox("chkSymbol", "affiche les symboles", true);
  resultLayout->addWidget(ui.chkSymbol);
  right->addWidget(ui.pnlResult.box);
  ui.chkRightSort = checkBox("chkRightSort", "Tri à droite", false);
  ui.chkCorpus = checkBox("chkCorpus", "Utiliser le corpus", false);
  ui.chkCorpus->setEnabled(false);
  right->addWidget(ui.chkRightSort);
  right->addWidget(ui.chkCorpus);
  ui.lstFilter = named(new QListWidget, "lstFilter");
  ui.lstFilter->setSelectionMode(QAbstractItemView::SingleSelection);
  right->addWidget(ui.lstFilter, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  ui.OKBtn = button("OKBtn", "OK");
  ui.CancelBtn = button("CancelBtn", "Annuler");
  bottom->addWidget(ui.OKBtn);
  bottom->addWidget(ui.CancelBtn);
  root->addLayout(bottom);
}

}  // namespace lirno
