// The variant review of a search with the spelling "Générée": TfrmGenoa's
// order, colours, removal, reverse sort, added strings and saved lists,
// TfrmAddStr's field, and the driver's step through the dialog: confirmed,
// the edited strings are searched; cancelled, nothing changes.
#include "search/ui/genoa_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <set>
#include <sstream>

#include "platform/ui/qt_text.h"
#include "search/ui/add_string_dialog.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using Strings = std::vector<std::string>;

const char kText[] = "un lys, un lis et un ys. le chien.\n";

class GenoaTest : public testing::WorkbenchTest {
 protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    program_.write("nac.rul", testing::workbenchRules() + "[Genor]\n1,Y,I,\n");
  }
  TfrmGenoa& genoa() { return *qobject_cast<TfrmGenoa*>(workbench().dialogs().frmGenoa); }
  TfrmAddStr& addStr() { return *qobject_cast<TfrmAddStr*>(workbench().dialogs().frmAddStr); }

  static Strings entries(TfrmGenoa& g) {
    Strings out;
    for (int i = 0; i < g.ui.lstWord->count(); ++i) out.push_back(toUtf8(g.ui.lstWord->item(i)->text()));
    return out;
  }
  static void select(TfrmGenoa& g, std::initializer_list<int> rows) {
    g.ui.lstWord->clearSelection();
    for (int r : rows) g.ui.lstWord->item(r)->setSelected(true);
  }
  // A search for `words` (spelling Générée) reviewed by `review`.
  void searchGenerated(TfrmMain& w, Strings words, const std::function<int(TfrmGenoa&)>& review) {
    genoa().setRunner(review);
    search(w, [&](TfrmFind& d) {
      d.ui.btnClear->click();
      d.ui.pnlOrtho.setIndex(kSpellingGenerated);
      for (const std::string& word : words) {
        d.ui.edWord->setText(fromUtf8(word));
        d.ui.btnAdd->click();
      }
    });
  }
};

TEST_F(GenoaTest, TheListIsSortedByPatternAndEachKindHasItsColour) {
  TfrmMain& w = start();
  open(w, writeDocument("lys.txt", kText));
  Strings shown;
  Strings texts;
  std::vector<int> kinds;
  QString count;
  searchGenerated(w, {"ys", "lys"}, [&](TfrmGenoa& g) {
    shown = entries(g);
    count = g.ui.lblCount->text();
    for (const auto& s : searcher(w).request().strings) {
      texts.push_back(s->pattern);
      kinds.push_back(TfrmGenoa::kindOf(*s));
    }
    // Drawn: a typed string red on white, selected yellow on navy.
    g.show();
    g.ui.lstWord->clearSelection();
    g.ui.lstWord->item(3)->setSelected(true);
    const QImage img = g.ui.lstWord->viewport()->grab().toImage();
    auto inks = [&](int row) {
      std::set<QRgb> found;
      const QRect r = g.ui.lstWord->visualItemRect(g.ui.lstWord->item(row));
      for (int x = r.left(); x < r.right(); ++x) {
        for (int y = r.top(); y < r.bottom(); ++y) found.insert(img.pixel(x, y) | 0xff000000);
      }
      return found;
    };
    EXPECT_TRUE(inks(2).count(qRgb(255, 0, 0))) << "LYS red";
    EXPECT_TRUE(inks(3).count(qRgb(0, 0, 128))) << "YS on navy";
    bool yellow = false;
    for (const QRgb c : inks(3)) yellow = yellow || (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 120);
    EXPECT_TRUE(yellow) << "YS yellow";
    g.accept();
    return g.result();
  });
  EXPECT_EQ(shown, (Strings{"IS", "LIS", "LYS", "YS"}));
  EXPECT_EQ(count, QStringLiteral("4"));
  EXPECT_EQ(texts, shown);  // the list itself is in the box's order
  EXPECT_EQ(kinds, (std::vector<int>{TfrmGenoa::kVariant, TfrmGenoa::kVariant, TfrmGenoa::kTyped,
                                     TfrmGenoa::kTyped}));
  // Confirmed: the variants were searched, then left the list; the typed
  // strings keep the dialog's order and their order numbers.
  EXPECT_EQ(results(w).targets().size(), 4u);  // IS, LIS, LYS, YS
  ASSERT_EQ(searcher(w).request().strings.size(), 2u);
  EXPECT_EQ(searcher(w).request().strings[0]->text, "lys");
  EXPECT_EQ(searcher(w).request().strings[0]->order, 1);
  EXPECT_EQ(searcher(w).request().strings[1]->order, 0);
  EXPECT_EQ(genoa().ui.lstWord->count(), 0);  // emptied on the way out
}

TEST_F(GenoaTest, DeleteKeepsTypedStringsAndReverseSortTurnsTheOrder) {
  TfrmMain& w = start();
  open(w, writeDocument("lys.txt", kText));
  searchGenerated(w, {"ys", "lys"}, [&](TfrmGenoa& g) {
    select(g, {0, 2, 3});  // IS, LYS (typed), YS (typed)
    g.ui.btnDel->click();
    EXPECT_EQ(entries(g), (Strings{"LIS", "LYS", "YS"}));
    EXPECT_EQ(g.ui.lblCount->text(), QStringLiteral("3"));
    g.ui.btnSort->click();
    EXPECT_EQ(entries(g), (Strings{"YS", "LYS", "LIS"}));
    g.ui.btnSort->click();
    EXPECT_EQ(entries(g), (Strings{"LIS", "LYS", "YS"}));
    g.accept();
    return g.result();
  });
  // IS was taken out: "un ys" is found as YS, never as IS.
  Strings found;
  for (const auto& t : results(w).targets().records()) found.push_back(t->text.str());
  EXPECT_EQ(found, (Strings{"LIS", "LYS", "YS"}));
}

TEST_F(GenoaTest, AddedStringsAreBlueUpperCaseAndNumberedAfterTheOthers) {
  TfrmMain& w = start();
  open(w, writeDocument("lys.txt", kText));
  TfrmAddStr& a = addStr();
  EXPECT_FALSE(a.ui.chkExclude->isEnabled());
  EXPECT_EQ(a.ui.edWord->maxLength(), 32);
  std::int32_t order = -1;
  const SearchString* parent = nullptr;
  int place = -1;
  a.setRunner([&](TfrmAddStr& d) {
    d.show();
    QTest::keyClicks(d.ui.edWord, QStringLiteral("chi"));
    d.ui.edWord->insert(QStringLiteral("é"));  // as typed
    EXPECT_EQ(d.ui.edWord->text(), QStringLiteral("CHIÉ"));
    QTest::keyClicks(d.ui.edWord, QStringLiteral("n "));
    d.ui.pnlPlace.setIndex(kPlaceWholeWord);
    d.accept();
    return d.result();
  });
  searchGenerated(w, {"lys"}, [&](TfrmGenoa& g) {
    g.ui.btnAdd->click();
    // CHIÉN, matched as the search matches: the rules drop H.
    EXPECT_EQ(entries(g), (Strings{"CIÉN", "LIS", "LYS"}));
    for (const auto& s : searcher(w).request().strings) {
      if (s->text == "CHI\xc9N") {
        order = s->order;
        parent = s->parent;
        place = s->place;
        EXPECT_EQ(TfrmGenoa::kindOf(*s), TfrmGenoa::kAdded);
      }
    }
    g.accept();
    return g.result();
  });
  EXPECT_EQ(order, 1);  // the highest was 0
  EXPECT_NE(parent, nullptr);
  EXPECT_EQ(place, kPlaceWholeWord);
  // An empty text adds nothing.
  a.setRunner([](TfrmAddStr& d) {
    d.accept();
    return d.result();
  });
  searchGenerated(w, {"lys"}, [&](TfrmGenoa& g) {
    g.ui.btnAdd->click();
    EXPECT_EQ(entries(g), (Strings{"LIS", "LYS"}));
    g.accept();
    return g.result();
  });
  EXPECT_EQ(searcher(w).request().strings.size(), 1u);  // added strings live for one search
}

TEST_F(GenoaTest, SaveWritesTheShownPatternsAndAppendAddsToTheFile) {
  TfrmMain& w = start();
  open(w, writeDocument("lys.txt", kText));
  const std::string file = program_.file("variantes.the");
  std::string folderAsked;
  genoa().setFileChooser([&](QWidget*, const std::string& folder) {
    folderAsked = folder;
    return file;
  });
  searchGenerated(w, {"lys"}, [&](TfrmGenoa& g) {
    g.ui.btnSave->click();
    EXPECT_EQ(program_.read("variantes.the"), "LIS\r\nLYS\r\n");
    g.ui.btnSort->click();
    g.ui.btnAppend->click();
    EXPECT_EQ(program_.read("variantes.the"), "LIS\r\nLYS\r\nLYS\r\nLIS\r\n");
    g.ui.btnSave->click();
    EXPECT_EQ(program_.read("variantes.the"), "LYS\r\nLIS\r\n");
    g.reject();
    return g.result();
  });
  EXPECT_EQ(folderAsked, program_.path());
  genoa().setFileChooser({});
}

TEST_F(GenoaTest, CancelLeavesThePreviousResultsAndStrings) {
  TfrmMain& w = start();
  open(w, writeDocument("lys.txt", kText));
  searchWord(w, "chien", kSpellingUpper);
  ASSERT_EQ(results(w).targets().size(), 1u);
  const auto red = redRanges(w);
  searchGenerated(w, {"lys", "ys"}, [&](TfrmGenoa& g) {
    select(g, {0});
    g.ui.btnDel->click();
    g.reject();
    return g.result();
  });
  ASSERT_EQ(results(w).targets().size(), 1u);
  EXPECT_EQ(results(w).targets()[0].text, "CHIEN");
  EXPECT_EQ(redRanges(w), red);
  Strings left;
  for (const auto& s : searcher(w).request().strings) left.push_back(s->text);
  EXPECT_EQ(left, (Strings{"lys", "ys"}));  // no variant stays
  EXPECT_EQ(genoa().ui.lstWord->count(), 0);
}

TEST_F(GenoaTest, SavedGenerationsGoBesideTheSettingsFile) {
  TfrmMain& w = start();
  open(w, writeDocument("lys.txt", kText));
  genoa().setRunner([](TfrmGenoa& g) {
    g.accept();
    return g.result();
  });
  search(w, [](TfrmFind& d) {
    d.ui.btnClear->click();
    d.ui.pnlOrtho.setIndex(kSpellingGenerated);
    d.ui.chkSaveGenoa->setChecked(true);
    d.ui.edWord->setText(QStringLiteral("lys"));
  });
  const std::string folder = workbench().settingsPath().substr(0, workbench().settingsPath().rfind('/') + 1);
  std::ifstream in(folder + "Lirno_Genor.txt", std::ios::binary);
  std::stringstream log;
  log << in.rdbuf();
  EXPECT_EQ(log.str(), "LYS\t2\tY->I (1)\tLIS\r\n");
}

}  // namespace
}  // namespace lirno
