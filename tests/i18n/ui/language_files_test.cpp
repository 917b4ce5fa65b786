// The English language file against the forms and the sources: every
// visible text has its line, nothing is clipped in either language, and
// switching languages leaves no French behind.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "i18n/language.h"
#include "i18n/source_texts.h"
#include "i18n/ui/control_survey.h"
#include "i18n/ui/language_controller.h"
#include "platform/cp1252.h"
#include "search/rules_tables.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using testing::surveyForm;
using testing::VisibleText;

const std::string kEnglishFile = std::string(LIRNO_SAMPLE_DATA) + "/eng.lng";

class LanguageFilesTest : public testing::WorkbenchTest {
 protected:
  void TearDown() override {
    LanguageController::setFileChooser({});
    WorkbenchTest::TearDown();
  }

  // Every form of the process: the main window with its menus, then the
  // shared dialogs.
  std::vector<VisibleText> surveyAll(TfrmMain& w) {
    std::vector<VisibleText> out = surveyForm(&w, {w.menuBar(), w.ui.popGrid, w.ui.popText});
    for (QDialog* d : dialogs()) {
      const std::vector<VisibleText> v = surveyForm(d);
      out.insert(out.end(), v.begin(), v.end());
    }
    return out;
  }

  std::vector<QDialog*> dialogs() {
    const SharedDialogs& d = workbench().dialogs();
    std::vector<QDialog*> out;
    for (QDialog* x : {d.frmFind, d.frmCorpus, d.frmThesaurus, d.frmWord, d.frmInfo, d.frmGenoa,
                       d.frmAddStr, d.frmResult, d.frmImage}) {
      if (x) out.push_back(x);
    }
    return out;
  }

  void chooseLanguage(TfrmMain& w, const std::string& path) {
    LanguageController::setFileChooser([path](QWidget*, const std::string&) { return path; });
    w.action("mnuLangue")->trigger();
  }

  // Each dialog shown and closed again: shown, it translates itself.
  void showEachDialog() {
    for (QDialog* d : dialogs()) {
      d->show();
      QCoreApplication::processEvents();
      d->hide();
    }
  }

  // The controls of `french` (by key) that `now` does not show in English
  // where the English file has a caption, hint or items for them.
  static std::vector<std::string> frenchLeft(const LanguageTables& english, const std::vector<VisibleText>& french,
                                             const std::vector<VisibleText>& now) {
    std::map<std::string, const VisibleText*> byControl;
    for (const VisibleText& v : now) byControl.emplace(v.key(), &v);
    std::vector<std::string> out;
    for (const VisibleText& f : french) {
      const ControlLine line = english.findControlLine(f.key());
      if (!line.found) continue;
      const auto it = byControl.find(f.key());
      const std::string caption = it == byControl.end() ? std::string() : it->second->caption;
      const std::string hint = it == byControl.end() ? std::string() : it->second->hint;
      if (!line.caption.empty() && caption != line.caption) {
        out.push_back(f.key() + " shows \"" + caption + "\", not \"" + line.caption + "\"");
      }
      if (!line.hint.empty() && hint != line.hint) {
        out.push_back(f.key() + " hint \"" + hint + "\", not \"" + line.hint + "\"");
      }
      if (it != byControl.end() && f.radioGroup && it->second->items != splitRadioItems(line.items)) {
        out.push_back(f.key() + " items not the English ones");
      }
    }
    return out;
  }
};

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

TEST_F(LanguageFilesTest, EnglishFileHasALineForEveryVisibleTextAndEveryTranslatedText) {
  TfrmMain& w = start();
  LanguageTables english;
  ASSERT_EQ(english.load(kEnglishFile), LanguageLoad::Loaded);
  EXPECT_EQ(english.code(), "eng");

  std::vector<std::string> missing;
  std::set<std::string> keys;
  for (const VisibleText& v : surveyAll(w)) {
    if (v.name.empty()) {
      missing.push_back("; no objectName, no line can reach it: " + v.line());
      continue;
    }
    keys.insert(v.key());
    const ControlLine line = english.findControlLine(v.key());
    if (!line.found) {
      missing.push_back(v.line());
    } else if (!v.hint.empty() && line.hint.empty()) {
      missing.push_back("; no hint in the line of: " + v.line());
    } else if (v.radioGroup && splitRadioItems(line.items).size() != v.items.size()) {
      missing.push_back("; not as many items in the line of: " + v.line());
    }
  }

  // Run-time texts: those of the sources, and the filter names of the
  // rules file the program folder ships.
  std::set<std::string> texts = testing::translatedSourceTexts(LIRNO_SOURCE_FOLDER);
  RulesTables rules;
  ASSERT_TRUE(rules.loadRules(std::string(LIRNO_SAMPLE_DATA) + "/nac.rul"));
  for (const std::string& d : rules.filters) {
    const std::size_t equals = d.find('=');
    if (d.size() > 2 && equals != std::string::npos) texts.insert(cp1252ToUtf8(d.substr(2, equals - 2)));
  }
  const std::set<std::string> sources(english.sources().begin(), english.sources().end());
  for (const std::string& t : texts) {
    if (t.find('"') != std::string::npos) {
      missing.push_back("; holds a double quote, no line can translate it: " + t);
    } else if (!sources.count(t)) {
      const std::string field = escapeLanguageText(t);
      missing.push_back("\"" + field + "\"=\"" + field + "\"");
    }
  }
  EXPECT_TRUE(missing.empty()) << "data/eng.lng misses these lines (French texts to translate):\n"
                               << joined(missing);

  // And names nothing that is gone.
  std::vector<std::string> stale;
  for (const std::string& line : english.controlLines()) {
    const std::size_t second = line.find(':', line.find(':') + 1);
    const std::string key = line.substr(0, second + 1);
    if (!keys.count(key)) stale.push_back(line.substr(0, line.size() - 1));
  }
  EXPECT_TRUE(stale.empty()) << "data/eng.lng names controls that no form shows:\n" << joined(stale);
}

TEST_F(LanguageFilesTest, SwitchingTwiceLeavesNoFrenchWhereEnglishExists) {
  TfrmMain& w = start();
  const std::vector<VisibleText> french = surveyAll(w);
  LanguageTables english;
  ASSERT_EQ(english.load(kEnglishFile), LanguageLoad::Loaded);

  program_.write("deu.lng",
                 "Lirno:deu:\n"
                 "frmMain:frmMain:\"Werkbank\":\"\"\n"
                 "frmMain:mnuOpen:\"Oeffnen\":\"\"\n"
                 "frmFind:btnAdd:\"&Hinzuf\xFCgen\":\"\"\n"
                 "frmFind:pnlPlace:\"Stelle\":\"\":\"Egal\\r\\nAnfang\"\n");
  chooseLanguage(w, kEnglishFile);
  chooseLanguage(w, program_.file("deu.lng"));
  showEachDialog();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Werkbank"));
  EXPECT_EQ(findDialog().ui.btnAdd->text(), QString::fromUtf8("&Hinzufügen"));
  chooseLanguage(w, kEnglishFile);
  showEachDialog();
  EXPECT_EQ(workbench().language().code(), "eng");
  EXPECT_EQ(joined(frenchLeft(english, french, surveyAll(w))), "");
  // The German file's short item list hid the group's other buttons; the
  // English one shows them all again.
  for (QAbstractButton* b : findDialog().ui.pnlPlace.buttons->buttons()) EXPECT_FALSE(b->isHidden());

  // The filter names of the rules are translated lines of the file.
  ASSERT_GT(findDialog().ui.lstFilter->count(), 0);
  EXPECT_EQ(findDialog().ui.lstFilter->item(0)->text(), QStringLiteral("P:Plurals"));

  // A window opened afterwards is English from the start.
  TfrmMain* second = workbench().createMainWindow();
  EXPECT_EQ(joined(frenchLeft(english, surveyForm(&w, {w.menuBar(), w.ui.popGrid, w.ui.popText}),
                              surveyForm(second, {second->menuBar(), second->ui.popGrid, second->ui.popText}))),
            "");
  delete second;
}

TEST_F(LanguageFilesTest, CommandLineLanguageTranslatesTheFirstWindowAndItsDialogs) {
  TfrmMain& w = start("-L " + kEnglishFile);
  EXPECT_EQ(workbench().language().code(), "eng");
  EXPECT_EQ(w.action("mnuOpen")->text(), QStringLiteral("&Open"));
  findDialog().show();
  QCoreApplication::processEvents();
  EXPECT_EQ(findDialog().windowTitle(), QStringLiteral("Search"));
  findDialog().hide();
}

// The caption needs no more room than the control has.
std::vector<std::string> clipped(const std::vector<VisibleText>& texts) {
  std::vector<std::string> out;
  for (const VisibleText& v : texts) {
    QWidget* w = v.widget;
    if (!w || w->isWindow() || !w->isVisibleTo(w->window()) || v.caption.empty()) continue;
    int needed = 0;
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
      needed = box->fontMetrics().horizontalAdvance(testing::withoutMnemonic(box->title())) + 16;
    } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
      // An icon button shows no text.
      if (!tool->icon().isNull() && tool->toolButtonStyle() == Qt::ToolButtonIconOnly) continue;
      needed = tool->fontMetrics().horizontalAdvance(testing::withoutMnemonic(tool->text())) + 4;
    } else if (auto* push = qobject_cast<QPushButton*>(w)) {
      needed = push->fontMetrics().horizontalAdvance(testing::withoutMnemonic(push->text())) +
               2 * push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push);
    } else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w)) {
      // Check boxes and radio buttons: box, gap and text; labels: text.
      needed = w->sizeHint().width();
    }
    if (needed > w->width()) {
      out.push_back(v.key() + " \"" + v.caption + "\" needs " + std::to_string(needed) + " pixels, has " +
                    std::to_string(w->width()));
    }
  }
  return out;
}

TEST_F(LanguageFilesTest, NoCaptionIsClippedInFrenchOrEnglish) {
  TfrmMain& w = start();
  for (int language = 0; language < 2; ++language) {
    if (language == 1) chooseLanguage(w, kEnglishFile);
    const char* name = language == 0 ? "French" : "English";
    QCoreApplication::processEvents();
    EXPECT_EQ(joined(clipped(surveyForm(&w))), "") << name;
    for (QDialog* d : dialogs()) {
      d->show();
      QCoreApplication::processEvents();
      EXPECT_EQ(joined(clipped(surveyForm(d))), "") << name << " " << d->objectName().toStdString();
      d->hide();
    }
  }
}

}  // namespace
}  // namespace lirno
