// TfrmFind on its own: the string box kept in step with the string list,
// the enabling rules, and the request that "OK" reads.
#include "search/ui/find_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

std::vector<std::string> texts(const cArrowList& list) {
  std::vector<std::string> out;
  for (const auto& s : list) out.push_back(s->text);
  return out;
}

std::vector<std::string> entries(const QListWidget* box) {
  std::vector<std::string> out;
  for (int i = 0; i < box->count(); ++i) out.push_back(toAnsi(box->item(i)->text()));
  return out;
}

class FindDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { dialog.prepare(strings, setup); }
  void type(const char* text) { dialog.ui.edWord->setText(QString::fromUtf8(text)); }
  void click(RadioGroup& g, int i) { g.buttons->button(i)->click(); }

  FindSetup setup;
  cArrowList strings;
  TfrmFind dialog;
  FindControls& ui = dialog.ui;
};

TEST_F(FindDialogTest, StartsWithTheFormDefaults) {
  EXPECT_EQ(dialog.objectName(), QStringLiteral("frmFind"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recherche"));
  EXPECT_EQ(ui.btnAdd->text(), QStringLiteral("&Ajouter"));
  EXPECT_EQ(ui.btnRepl->text(), QStringLiteral("&Remplacer"));
  EXPECT_EQ(ui.btnDel->text(), QStringLiteral("&Supprimer"));
  EXPECT_EQ(ui.btnClear->text(), QStringLiteral("&Effacer"));
  EXPECT_EQ(ui.CancelBtn->text(), QStringLiteral("Annuler"));
  EXPECT_EQ(ui.pnlOrtho.index(), kSpellingReduced);
  EXPECT_EQ(ui.pnlContext.index(), kContextText);
  EXPECT_EQ(ui.pnlPlace.index(), kPlaceAnywhere);
  EXPECT_EQ(ui.pnlResult.index(), kResultUpper);
  EXPECT_TRUE(ui.chkSepar->isChecked());
  EXPECT_TRUE(ui.chkAll->isChecked());
  EXPECT_FALSE(ui.chkAll->isEnabled());
  EXPECT_FALSE(ui.chkOrder->isChecked());
  EXPECT_FALSE(ui.chkOrder->isEnabled());
  EXPECT_FALSE(ui.chkExclude->isEnabled());
  EXPECT_TRUE(ui.chkAsOrtho->isChecked());
  EXPECT_FALSE(ui.pnlResult.buttons->button(0)->isEnabled());
  EXPECT_TRUE(ui.chkSymbol->isChecked());
  EXPECT_FALSE(ui.chkRightSort->isChecked());
  EXPECT_FALSE(ui.udGenoa->isEnabled());
  EXPECT_FALSE(ui.lblGenoa->isEnabled());
  EXPECT_EQ(ui.udGenoa->value(), 1);
  EXPECT_FALSE(ui.chkSaveGenoa->isChecked());
  EXPECT_FALSE(ui.chkCorpus->isEnabled());
  EXPECT_FALSE(ui.btnThesaurus->isEnabled());
  // Nothing typed, nothing listed: only "&Effacer" can be pressed.
  EXPECT_FALSE(ui.OKBtn->isEnabled());
  EXPECT_FALSE(ui.btnAdd->isEnabled());
  EXPECT_FALSE(ui.btnRepl->isEnabled());
  EXPECT_FALSE(ui.btnDel->isEnabled());
  EXPECT_TRUE(ui.btnClear->isEnabled());
}

TEST_F(FindDialogTest, ContextEnablesExclusionAllStringsAndOrderAndSeparatorsExceptForWords) {
  struct Case {
    int context;
    bool others, separators;
  };
  for (const Case c : {Case{kContextWord, true, false}, Case{kContextSentence, true, true},
                       Case{kContextParagraph, true, true}, Case{kContextText, false, true}}) {
    click(ui.pnlContext, c.context);
    EXPECT_EQ(ui.chkExclude->isEnabled(), c.others) << c.context;
    EXPECT_EQ(ui.chkAll->isEnabled(), c.others) << c.context;
    EXPECT_EQ(ui.chkOrder->isEnabled(), c.others) << c.context;
    EXPECT_EQ(ui.chkSepar->isEnabled(), c.separators) << c.context;
  }

  // Checked but disabled counts as off.
  ui.chkOrder->setChecked(true);
  SearchRequest rq;
  dialog.readRequest(rq, false, true);
  EXPECT_FALSE(rq.inOrder);
  EXPECT_FALSE(rq.allStrings);
  click(ui.pnlContext, kContextSentence);
  dialog.readRequest(rq, false, true);
  EXPECT_TRUE(rq.inOrder);
  EXPECT_TRUE(rq.allStrings);
  EXPECT_EQ(rq.context, kContextSentence);
}

TEST_F(FindDialogTest, SpellingAndResultChoicesDecideTheRecordedSpelling) {
  click(ui.pnlOrtho, kSpellingGenerated);
  EXPECT_TRUE(ui.udGenoa->isEnabled());
  EXPECT_TRUE(ui.lblGenoa->isEnabled());
  SearchRequest rq;
  dialog.readRequest(rq, false, true);
  EXPECT_EQ(rq.spelling, kSpellingGenerated);
  EXPECT_EQ(rq.resultSpelling, kResultReduced);  // like the spelling, capped
  EXPECT_FALSE(rq.showSymbols);                  // never with "Modifié"

  click(ui.pnlOrtho, kSpellingSame);
  EXPECT_FALSE(ui.udGenoa->isEnabled());
  dialog.readRequest(rq, false, true);
  EXPECT_EQ(rq.resultSpelling, kResultSame);
  EXPECT_TRUE(rq.showSymbols);

  // Its own result choice once "Comme l'orthographe" is off.
  ui.chkAsOrtho->click();
  EXPECT_TRUE(ui.pnlResult.buttons->button(kResultReduced)->isEnabled());
  click(ui.pnlResult, kResultReduced);
  EXPECT_FALSE(ui.chkSymbol->isEnabled());
  dialog.readRequest(rq, false, true);
  EXPECT_FALSE(rq.resultLikeSpelling);
  EXPECT_EQ(rq.resultSpelling, kResultReduced);
  click(ui.pnlResult, kResultSame);
  EXPECT_TRUE(ui.chkSymbol->isEnabled());
  ui.chkSymbol->click();
  dialog.readRequest(rq, false, true);
  EXPECT_EQ(rq.resultSpelling, kResultSame);
  EXPECT_FALSE(rq.showSymbols);
}

TEST_F(FindDialogTest, TypedTextWithoutAddIsTheOneStringBlanksRemoved) {
  type("le chat");
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"lechat"}));
  EXPECT_TRUE(ui.OKBtn->isEnabled());
  EXPECT_TRUE(ui.btnAdd->isEnabled());
  EXPECT_TRUE(ui.btnAdd->isDefault());
  EXPECT_FALSE(ui.OKBtn->isDefault());
  type("le chien ");
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"lechien"}));
  type(" ");
  EXPECT_TRUE(strings.empty());
  EXPECT_FALSE(ui.OKBtn->isEnabled());
  type("été");
  ASSERT_EQ(strings.size(), 1u);
  EXPECT_EQ(strings[0]->text, "\xE9t\xE9");  // Windows-1252

  SearchRequest rq;
  dialog.prepare(rq.strings, setup);
  type("mot");
  dialog.readRequest(rq, false, true);
  ASSERT_EQ(rq.strings.size(), 1u);
  EXPECT_EQ(rq.strings[0]->text, "mot");
  EXPECT_EQ(rq.strings[0]->order, 0);
}

TEST_F(FindDialogTest, AddReplaceAndDeleteKeepTheBoxAndTheListInStep) {
  type("chat");
  ui.btnAdd->click();
  EXPECT_EQ(entries(ui.lstWord), (std::vector<std::string>{"chat"}));
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"chat"}));
  EXPECT_TRUE(ui.edWord->text().isEmpty());
  EXPECT_FALSE(ui.btnAdd->isEnabled());
  EXPECT_TRUE(ui.OKBtn->isDefault());

  type("chien");
  ui.btnAdd->click();
  type("rat");
  ui.btnAdd->click();
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"chat", "chien", "rat"}));
  EXPECT_EQ(ui.lstWord->currentRow(), 2);

  type("chien");  // already listed: nothing to add or replace with
  EXPECT_FALSE(ui.btnAdd->isEnabled());
  EXPECT_FALSE(ui.btnRepl->isEnabled());
  type("souris");
  ui.lstWord->setCurrentRow(1);
  ASSERT_TRUE(ui.btnRepl->isEnabled());
  ui.btnRepl->click();
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"chat", "souris", "rat"}));
  EXPECT_EQ(entries(ui.lstWord), (std::vector<std::string>{"chat", "souris", "rat"}));

  // Position and exclusion belong to the current entry and show again when
  // it becomes current.
  click(ui.pnlContext, kContextSentence);
  click(ui.pnlPlace, kPlaceWordEnd);
  ui.chkExclude->click();
  EXPECT_EQ(strings[1]->place, kPlaceWordEnd);
  EXPECT_TRUE(strings[1]->exclude);
  ui.lstWord->setCurrentRow(0);
  EXPECT_EQ(ui.pnlPlace.index(), kPlaceAnywhere);
  EXPECT_FALSE(ui.chkExclude->isChecked());
  EXPECT_EQ(strings[0]->place, kPlaceAnywhere);
  ui.lstWord->setCurrentRow(1);
  EXPECT_EQ(ui.pnlPlace.index(), kPlaceWordEnd);
  EXPECT_TRUE(ui.chkExclude->isChecked());

  ui.lstWord->item(0)->setSelected(true);
  ui.lstWord->item(2)->setSelected(true);
  ui.lstWord->item(1)->setSelected(false);
  ui.btnDel->click();
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"souris"}));
  EXPECT_EQ(entries(ui.lstWord), (std::vector<std::string>{"souris"}));
  ui.lstWord->selectAll();
  ui.btnDel->click();
  EXPECT_TRUE(strings.empty());
  EXPECT_EQ(ui.lstWord->currentRow(), -1);
  EXPECT_FALSE(ui.btnDel->isEnabled());
}

TEST_F(FindDialogTest, PositionEditsTheTypedStringWhileTheBoxIsEmpty) {
  type("chat");
  click(ui.pnlPlace, kPlaceWholeWord);
  ASSERT_EQ(strings.size(), 1u);
  EXPECT_EQ(strings[0]->place, kPlaceWholeWord);
}

TEST_F(FindDialogTest, ClearAndThesaurusStartAfresh) {
  const std::vector<std::string> thesaurus = {"  chat ", "", "chien\t", "  "};
  setup.thesaurus = &thesaurus;
  type("rat");
  ui.btnAdd->click();
  click(ui.pnlPlace, kPlaceWordStart);
  ui.chkSepar->setChecked(false);
  dialog.prepare(strings, setup);
  ASSERT_TRUE(ui.btnThesaurus->isEnabled());
  ui.btnThesaurus->click();
  EXPECT_EQ(texts(strings), (std::vector<std::string>{"chat", "chien"}));
  EXPECT_EQ(entries(ui.lstWord), (std::vector<std::string>{"chat", "chien"}));
  EXPECT_EQ(ui.pnlPlace.index(), kPlaceAnywhere);
  EXPECT_FALSE(ui.chkSepar->isChecked());  // the thesaurus leaves it

  ui.btnClear->click();
  EXPECT_TRUE(strings.empty());
  EXPECT_EQ(ui.lstWord->count(), 0);
  EXPECT_TRUE(ui.edWord->text().isEmpty());
  EXPECT_TRUE(ui.chkSepar->isChecked());
}

TEST_F(FindDialogTest, ShowingRefillsTheBoxFromTheList) {
  cArrowList other;
  for (const char* t : {"un", "deux"}) {
    auto s = std::make_unique<SearchString>();
    s->text = t;
    other.push_back(std::move(s));
  }
  dialog.prepare(other, setup);
  EXPECT_EQ(entries(ui.lstWord), (std::vector<std::string>{"un", "deux"}));
  EXPECT_TRUE(ui.OKBtn->isEnabled());
}

TEST_F(FindDialogTest, CheckedFiltersBecomeThePatternsAndTheDescription) {
  setup.filterDefinitions = {"P:Pluriels=S$,X$", "C:Initiale C=^C", "Z:Vide=", "N:Sans"};
  dialog.prepare(strings, setup);
  ASSERT_EQ(ui.lstFilter->count(), 4);
  EXPECT_EQ(ui.lstFilter->item(0)->text(), QStringLiteral("P:Pluriels"));
  EXPECT_EQ(ui.lstFilter->item(3)->text(), QStringLiteral("N:Sans"));
  ui.lstFilter->item(0)->setCheckState(Qt::Checked);
  ui.lstFilter->item(1)->setCheckState(Qt::Checked);
  ui.lstFilter->item(2)->setCheckState(Qt::Checked);

  SearchRequest rq;
  rq.filters.push_back({"OLD", kAnchorNone});
  dialog.readRequest(rq, false, true);
  ASSERT_EQ(rq.filters.size(), 3u);
  EXPECT_EQ(rq.filters[0].text, "S");
  EXPECT_EQ(rq.filters[0].anchor, kAnchorEnd);
  EXPECT_EQ(rq.filters[2].text, "C");
  EXPECT_EQ(rq.filters[2].anchor, kAnchorStart);
  EXPECT_EQ(rq.filterDescription, "P:Pluriels, C:Initiale C, Z:Vide");

  // The same definitions again keep the check marks; others refill.
  dialog.prepare(strings, setup);
  EXPECT_EQ(ui.lstFilter->item(0)->checkState(), Qt::Checked);
  setup.filterDefinitions = {"A:Autre=A"};
  dialog.prepare(strings, setup);
  ASSERT_EQ(ui.lstFilter->count(), 1);
  EXPECT_EQ(ui.lstFilter->item(0)->checkState(), Qt::Unchecked);
}

TEST_F(FindDialogTest, CorpusChoiceFollowsTheCorpusAndTheOpenDocument) {
  SearchRequest rq;
  setup.corpusLoaded = true;
  setup.documentOpen = false;
  dialog.prepare(strings, setup);
  EXPECT_TRUE(ui.chkCorpus->isEnabled());
  EXPECT_TRUE(ui.chkCorpus->isChecked());
  dialog.readRequest(rq, true, false);
  EXPECT_TRUE(rq.useCorpus);

  ui.chkCorpus->setChecked(false);
  dialog.readRequest(rq, true, true);
  EXPECT_FALSE(rq.useCorpus);
  dialog.readRequest(rq, true, false);  // no document: the corpus it is
  EXPECT_TRUE(rq.useCorpus);

  ui.chkCorpus->setChecked(true);
  setup.corpusLoaded = false;
  setup.documentOpen = true;
  dialog.prepare(strings, setup);
  EXPECT_FALSE(ui.chkCorpus->isEnabled());
  EXPECT_FALSE(ui.chkCorpus->isChecked());
  dialog.readRequest(rq, false, true);
  EXPECT_FALSE(rq.useCorpus);
}

TEST_F(FindDialogTest, PresentRunsItsCallbackOnceWithTheAnswer) {
  std::vector<bool> answers;
  dialog.present([&](bool ok) { answers.push_back(ok); });
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.isModal());
  dialog.reject();
  EXPECT_FALSE(dialog.isVisible());
  dialog.present([&](bool ok) { answers.push_back(ok); });
  type("x");
  ui.OKBtn->click();
  dialog.reject();  // already closed: no second answer
  EXPECT_EQ(answers, (std::vector<bool>{false, true}));
}

TEST_F(FindDialogTest, ATextWithoutAWindows1252FormIsNeverSearchedSilently) {
  std::vector<std::string> shown;
  const MessageHandler previous = setMessageHandler([&](const MessageRequest& m) {
    shown.push_back(m.text);
    return MessageAnswer::Ok;
  });
  dialog.show();
  type("herb");
  type("herbłódź");
  EXPECT_EQ(texts(strings), std::vector<std::string>{"herb"});  // never "herb??d?"
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());  // OK refused, and said why
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("ł ź"), std::string::npos) << shown[0];
  ui.btnAdd->click();
  EXPECT_EQ(ui.lstWord->count(), 0);
  EXPECT_EQ(shown.size(), 2u);
  type("herbé");
  dialog.accept();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(texts(strings), std::vector<std::string>{"herb\xE9"});
  setMessageHandler(previous);
}

}  // namespace
}  // namespace lirno
