#include "i18n/source_texts.h"

#include <gtest/gtest.h>

namespace lirno::testing {
namespace {

TEST(SourceTexts, FindsWhatReachesTranslate) {
  const std::string code = R"(
    inline constexpr const char* kNames[] = {"Texte", "Mot"};
    static const char* const kUnused[] = {"Jamais"};
    // translate("in a comment")
    void f() {
      showMessage("Fichier non trouvé :\n", path, "Lirno", MessageKind::Warning);
      line += T("  Mots : ") + T(flag ? "oui" : "non") + T(kNames[i]);
      out += translateToAnsi(translate, "DOC" "UMENT: ");
      auto k = Kind{"Corpus", translatable("Le corpus a changé.")};
      label->setText(QStringLiteral("Pas traduit"));
      p.translate(x, y);
      translate(cp1252ToUtf8(name));
      char c = '"';
      translate("apr\xE8s");
    }
  )";
  const std::set<std::string> expected = {"Fichier non trouvé :\n", "  Mots : ", "oui", "non", "Texte", "Mot",
                                          "DOCUMENT: ", "Le corpus a changé.", "apr\xE8s"};
  EXPECT_EQ(translatedTextsOf(code), expected);
}

TEST(SourceTexts, TheWorkbenchSourcesHaveTheirKnownTexts) {
  const std::set<std::string> texts = translatedSourceTexts(LIRNO_SOURCE_FOLDER);
  for (const char* t : {"Fichier non trouvé :\n", "\nn'est pas un fichier langue.", "  Occurrences : ",
                        "Le thesaurus a changé. Voulez-vous l'enregistrer ?", "Générée", "Texte"}) {
    EXPECT_TRUE(texts.count(t)) << t;
  }
}

}  // namespace
}  // namespace lirno::testing
