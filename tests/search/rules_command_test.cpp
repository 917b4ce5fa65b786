// The rules file at start-up and the "&Règles" command.
#include <QAction>
#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

#include "app/composition.h"
#include "platform/ini_file.h"
#include "platform/ui/message.h"
#include "search/ui/rules_command.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::TempFolder;

// A rules file whose comma has the given class and whose [Genor] section has
// `rules` rules.
std::string rulesText(int commaClass, int rules) {
  std::string s = "[Separators]\n44=" + std::to_string(commaClass) + "\n[Filters]\nA:a" +
                  std::to_string(commaClass) + "=X\n[Genor]\n";
  for (int i = 0; i < rules; ++i) s += "1,A,B,\n";
  return s;
}

class RulesCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.write("nac.rul", rulesText(2, 1));
    program_.write("other.rul", rulesText(3, 2));
    elsewhere_.write("far.rul", rulesText(4, 3));
    previous_ = setMessageHandler([this](const MessageRequest& m) {
      messages.push_back(m.text);
      return MessageAnswer::Ok;
    });
  }
  void TearDown() override {
    RulesController::setFileChooser({});
    setMessageHandler(previous_);
  }

  std::unique_ptr<Workbench> start(const std::string& args = {}) {
    auto wb = std::make_unique<Workbench>(program_.path(), parseCommandLine(args));
    wb->setFallbackSettingsPath(home_.file("lirno/Lirno.ini"));
    composeWorkbench(*wb);
    wb->start();
    QCoreApplication::processEvents();  // what the window posted for the event loop
    return wb;
  }

  std::string recordedRules() const {
    return IniFile(program_.file("Lirno.ini")).readString("Lirno", "Rules", "(none)");
  }

  TempFolder program_{"rulesprog"};
  TempFolder home_{"ruleshome"};
  TempFolder elsewhere_{"rulesfar"};
  std::vector<std::string> messages;
  MessageHandler previous_;
};

TEST_F(RulesCommandTest, StartUpLoadsTheSettingsRulesWithTheirVariants) {
  auto wb = start();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(wb->rules().classOf(','), kWordSeparator);
  EXPECT_EQ(wb->rules().variantRules.size(), 1u);
  EXPECT_EQ(wb->rules().upperOf('a'), 'A');

  program_.write("Lirno.ini", "[Lirno]\r\nRules=other.rul\r\n");
  auto second = start();
  EXPECT_EQ(second->rules().classOf(','), kSentenceSeparator);
  EXPECT_EQ(second->rules().variantRules.size(), 2u);
}

TEST_F(RulesCommandTest, CommandLineRulesReplaceTheSettingsAndAreEmptied) {
  auto wb = start("-R other.rul");
  EXPECT_EQ(wb->rules().classOf(','), kSentenceSeparator);
  EXPECT_TRUE(wb->commandLine().rulesFile.empty());
  auto far = start("-R " + elsewhere_.file("far.rul"));
  EXPECT_EQ(far->rules().classOf(','), kParagraphSeparator);
  EXPECT_EQ(far->rules().variantRules.size(), 3u);
}

TEST_F(RulesCommandTest, MissingRulesFileLeavesEmptyTablesAndSaysSo) {
  auto wb = start("-R absent.rul");
  // A search without rules finds nothing, which would pass for a result.
  EXPECT_EQ(messages, std::vector<std::string>{"Fichier de règles illisible : " + program_.file("absent.rul")});
  EXPECT_EQ(wb->rules().classOf(','), kWordChar);
  EXPECT_EQ(wb->rules().upperOf('a'), 0);
  EXPECT_TRUE(wb->rules().filters.empty());
  EXPECT_EQ(wb->rules().markers.glyph, 0xAD);  // documents still read safely
}

TEST_F(RulesCommandTest, RulesCommandLoadsRecordsAndAnnounces) {
  auto wb = start();
  TfrmMain* w = wb->windows().front();
  std::string offeredFolder;
  RulesController::setFileChooser([&](QWidget*, const std::string& folder) {
    offeredFolder = folder;
    return program_.file("other.rul");
  });
  QSignalSpy changed(wb.get(), &Workbench::rulesChanged);
  w->action("mnuRules")->trigger();
  EXPECT_EQ(offeredFolder, program_.path());
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(wb->rules().classOf(','), kSentenceSeparator);
  EXPECT_EQ(wb->rules().filters.at(0), "A:a3=X");
  EXPECT_EQ(wb->rules().variantRules.size(), 1u);  // variant rules change only at the next start
  EXPECT_EQ(recordedRules(), "other.rul");
  EXPECT_EQ(wb->shellSettings().rules, "other.rul");
}

TEST_F(RulesCommandTest, AFileOutsideTheProgramFolderIsRecordedWithItsFolder) {
  auto wb = start();
  RulesController::setFileChooser([&](QWidget*, const std::string&) { return elsewhere_.file("far.rul"); });
  wb->windows().front()->action("mnuRules")->trigger();
  EXPECT_EQ(wb->rules().classOf(','), kParagraphSeparator);
  EXPECT_EQ(recordedRules(), elsewhere_.file("far.rul"));
  // And the next start finds it.
  auto next = start();
  EXPECT_EQ(next->rules().classOf(','), kParagraphSeparator);
}

TEST_F(RulesCommandTest, CancelOrUnreadableFileChangesNothing) {
  auto wb = start();
  const std::string before = recordedRules();
  QSignalSpy changed(wb.get(), &Workbench::rulesChanged);
  RulesController::setFileChooser([](QWidget*, const std::string&) { return std::string(); });
  wb->windows().front()->action("mnuRules")->trigger();
  RulesController::setFileChooser([&](QWidget*, const std::string&) { return program_.file("gone.rul"); });
  wb->windows().front()->action("mnuRules")->trigger();
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(wb->rules().classOf(','), kWordSeparator);
  EXPECT_EQ(recordedRules(), before);
  // Only the unreadable file is reported; cancelling says nothing.
  EXPECT_EQ(messages, std::vector<std::string>{"Fichier de règles illisible : " + program_.file("gone.rul")});
}

}  // namespace
}  // namespace lirno
