// The main menu, the pop-up menus popGrid and popText, and the tool buttons
// of the main window, each named as the language files address them.
#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>
#include <QToolButton>

#include "shell/ui/main_window.h"
#include "shell/ui/tool_icons.h"

namespace lirno {

QAction* TfrmMain::addAction(QMenu* menu, const char* name, const char* caption,
                             const QKeySequence& shortcut) {
  auto* a = new QAction(QString::fromUtf8(caption), this);
  a->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) {
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
  }
  menu->addAction(a);
  actions_.push_back(a);
  return a;
}

QToolButton* TfrmMain::addButton(QWidget* bar, const char* name, const char* hint, const QIcon& icon,
                                 const char* caption) {
  auto* b = new QToolButton(bar);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(QString::fromUtf8(hint));
  b->setAutoRaise(true);
  b->setFixedSize(25, 25);
  if (caption) {
    b->setText(QString::fromUtf8(caption));
  } else {
    b->setIcon(icon);
    b->setIconSize(QSize(18, 18));
  }
  if (bar->layout()) bar->layout()->addWidget(b);
  buttons_.push_back(b);
  return b;
}

void TfrmMain::buildToolButtons() {
  auto* layout = new QHBoxLayout(ui.pnlTop);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  struct ButtonEntry {
    const char* name;
    const char* hint;
    ToolIcon icon;
  };
  static const ButtonEntry kButtons[] = {
      {"btnOpen", "Ovrir un document", ToolIcon::Open},
      {"btnClose", "Fermer les documents", ToolIcon::CloseAll},
      {"btnFind", "Recherche", ToolIcon::Find},
      {"btnWord", "Liste des mots", ToolIcon::WordList},
      {"btnSaveTarget", "Enregistrer le résultat", ToolIcon::Save},
      {"btnUp", "Ligne précédente", ToolIcon::Up},
      {"btnDown", "Ligne suivante", ToolIcon::Down},
      {"btnFirst", "Première cible", ToolIcon::First},
      {"btnPrev", "Cible précédente", ToolIcon::Previous},
      {"btnNext", "Cible suivante", ToolIcon::Next},
      {"btnLast", "Derniére cible", ToolIcon::Last},
      {"btnGrdOpen", "Ouvrir dans la fenêtre", ToolIcon::OpenHere},
      {"btnGrdOpenNew", "Ouvrir dans une autre fenêtre", ToolIcon::OpenElsewhere},
      {"btnConcordance", "Concordance", ToolIcon::Concordance},
      {"btnDispersion", "Répartition des occurrences", ToolIcon::Dispersion},
      {"btnHelp", "Aide", ToolIcon::Help},
      {"btnZoomOut", "Zoom out", ToolIcon::ZoomOut},
      {"btnZoomIn", "Zoom in", ToolIcon::ZoomIn},
  };
  for (const ButtonEntry& s : kButtons) addButton(ui.pnlTop, s.name, s.hint, toolIcon(s.icon));
  layout->addStretch(1);

  ui.reInfoParser = new QTextEdit(ui.pnlTop);
  ui.reInfoParser->setObjectName(QStringLiteral("reInfoParser"));
  ui.reInfoParser->setVisible(false);
}

void TfrmMain::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  auto topMenu = [&](const char* name, const char* caption) {
    QMenu* m = bar->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    menus_.push_back(m);
    return m;
  };

  QMenu* file = topMenu("mnuFile", "&Fichier");
  addAction(file, "mnuOpen", "&Ouvrir", QKeySequence(Qt::CTRL | Qt::Key_O));
  addAction(file, "mnuInfo", "&Informations", QKeySequence(Qt::CTRL | Qt::Key_I));
  file->addSeparator();
  QAction* exit = addAction(file, "mnuExit", "&Quitter");
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = topMenu("mnuEdit", "&Edition");
  addAction(edit, "mnuCut", "Cou&per", QKeySequence(Qt::CTRL | Qt::Key_X));
  addAction(edit, "mnuCopy", "&Copier", QKeySequence(Qt::CTRL | Qt::Key_C));
  addAction(edit, "mnuDel", "Supprimer", QKeySequence(Qt::Key_Delete));
  addAction(edit, "mnuAll", "Sélectionner &tout", QKeySequence(Qt::CTRL | Qt::Key_A));
  edit->addSeparator();
  addAction(edit, "mnuFind", "&Rechercher", QKeySequence(Qt::CTRL | Qt::Key_F));
  addAction(edit, "mnuWord", "Liste de &mots", QKeySequence(Qt::CTRL | Qt::Key_W));
  edit->addSeparator();
  addAction(edit, "mnuGoto", "&Aller à la marque", QKeySequence(Qt::CTRL | Qt::Key_M));

  QMenu* targets = topMenu("mnuTarget", "Ci&bles");
  addAction(targets, "mnuSortText", "Trier par &texte");
  addAction(targets, "mnuSortNum", "Trier par nom&bre");
  addAction(targets, "mnuSortDocText", "Trier par doc + texte");
  addAction(targets, "mnuSortDocNum", "Trier par doc + nombre");
  targets->addSeparator();
  addAction(targets, "mnuUp", "&Monter", QKeySequence(Qt::Key_F3));
  addAction(targets, "mnuDown", "&Descendre", QKeySequence(Qt::Key_F4));
  targets->addSeparator();
  addAction(targets, "mnuFirst", "&Début", QKeySequence(Qt::Key_F5));
  addAction(targets, "mnuPrev", "&Précédente", QKeySequence(Qt::Key_F6));
  addAction(targets, "mnuNext", "&Suivante", QKeySequence(Qt::Key_F7));
  addAction(targets, "mnuLast", "&Fin", QKeySequence(Qt::Key_F8));
  targets->addSeparator();
  addAction(targets, "mnuSaveTarget", "&Enregister", QKeySequence(Qt::CTRL | Qt::Key_S));
  targets->addSeparator();
  addAction(targets, "mnuConcordance", "&Concordance", QKeySequence(Qt::CTRL | Qt::Key_K));
  addAction(targets, "mnuDispersion", "&Répartition", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));

  auto listMenu = [&](const char* name, const char* caption, char prefix) {
    QMenu* m = topMenu(name, caption);
    auto item = [&](const char* suffix, const char* text) {
      const std::string n = std::string("mnu") + prefix + suffix;
      addAction(m, n.c_str(), text);
    };
    item("New", "&Nouveau");
    item("Open", "&Ouvrir");
    item("Edit", "&Modifier");
    m->addSeparator();
    item("Save", "&Enregistrer");
    item("SaveAs", "Enregistrer &sous");
    m->addSeparator();
    item("Close", "&Fermer");
  };
  listMenu("mnuThesaurus", "&Thesaurus", 'T');
  listMenu("mnuCorpus", "&Corpus", 'C');

  QMenu* options = topMenu("mnuSettings", "&Options");
  addAction(options, "mnuLangue", "&Langue");
  addAction(options, "mnuRules", "&Règles");
  options->addSeparator();
  addAction(options, "mnuHelp", "&Aide");
  addAction(options, "mnuAbout", "A &propos");

  ui.popGrid = new QMenu(this);
  ui.popGrid->setObjectName(QStringLiteral("popGrid"));
  menus_.push_back(ui.popGrid);
  addAction(ui.popGrid, "mnuGrdCut", "Cou&per");
  addAction(ui.popGrid, "mnuGrdCopy", "&Copier");
  addAction(ui.popGrid, "mnuGrdDel", "Supprimer");
  addAction(ui.popGrid, "mnuGrdAll", "Sélectionner &tout");
  ui.popGrid->addSeparator();
  addAction(ui.popGrid, "mnuGrdSortText", "Trier par &texte");
  addAction(ui.popGrid, "mnuGrdSortNum", "Trier par nom&bre");
  addAction(ui.popGrid, "mnuGrdSortDocText", "Trier par doc + texte");
  addAction(ui.popGrid, "mnuGrdSortDocNum", "Trier par doc + nombre");
  ui.popGrid->addSeparator();
  addAction(ui.popGrid, "mnuGrdOpen", "Ouvrir dans la fenêtre");
  addAction(ui.popGrid, "mnuGrdOpenNew", "Ouvrir dans une autre fenêtre");

  ui.popText = new QMenu(this);
  ui.popText->setObjectName(QStringLiteral("popText"));
  menus_.push_back(ui.popText);
  addAction(ui.popText, "mnuTxtCopy", "&Copier");
  addAction(ui.popText, "mnuTxtTarget", "Ci&ble");
}

}  // namespace lirno
