#include <gtest/gtest.h>

#include "language.h"
#include "profile.h"
#include "support/test_support.h"

namespace stelvane {
namespace {

class Language : public test::ScriptTest {
 protected:
  // A picker that records what it was shown and answers `answer`.
  LanguagePicker picker(int answer) {
    return [this, answer](const std::vector<std::wstring>& labels) {
      shown = labels;
      ++asked;
      return answer;
    };
  }
  std::vector<std::wstring> shown;
  int asked = 0;
};

TEST_F(Language, NoLabelMeansNoSuffixAndNoWindow) {
  writeScript(L"[DIALOGUE]\nTITRE=Installation\n");
  EXPECT_TRUE(chooseLanguage(installer, picker(0)));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(installer.languageSuffix, L"");
  EXPECT_EQ(readLocalized(installer, L"DIALOGUE", L"TITRE"), L"Installation");
}

TEST_F(Language, OneLabelTakesItsSuffixWithoutAskingAndHasNoFallback) {
  writeScript(
      L"[LANGUE]\nLIB_LANGUE1=English\nLANGUE1=EN\n"
      L"[DIALOGUE]\nTITRE=Installation\nT_OPTION1=Icônes\n"
      L"[DIALOGUE_EN]\nTITRE=Setup\n");
  EXPECT_TRUE(chooseLanguage(installer, picker(0)));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(installer.languageSuffix, L"EN");
  EXPECT_EQ(installer.languageIndex, 1);
  EXPECT_EQ(readLocalized(installer, L"DIALOGUE", L"TITRE"), L"Setup");
  // Present only in the plain section: not found once a suffix is set.
  EXPECT_EQ(readLocalized(installer, L"DIALOGUE", L"T_OPTION1"), L"");
}

TEST_F(Language, SeveralLabelsAreOfferedInOrderUpToTheFirstEmptyOne) {
  writeScript(
      L"[LANGUE]\nLIB_LANGUE1=Français\nLANGUE1=FR\nLIB_LANGUE2=English\nLANGUE2=EN\n"
      L"LIB_LANGUE4=Deutsch\nLANGUE4=DE\n");
  EXPECT_TRUE(chooseLanguage(installer, picker(2)));
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"Français", L"English"}));
  EXPECT_EQ(installer.languageSuffix, L"EN");
  EXPECT_EQ(installer.languageIndex, 2);
}

TEST_F(Language, CancellingTheWindowChoosesNothing) {
  writeScript(L"[LANGUE]\nLIB_LANGUE1=Français\nLANGUE1=FR\nLIB_LANGUE2=English\nLANGUE2=EN\n");
  EXPECT_FALSE(chooseLanguage(installer, picker(0)));
  EXPECT_EQ(installer.languageSuffix, L"");
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace stelvane
