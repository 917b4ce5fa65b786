#include "platform/ui/message.h"

#include <gtest/gtest.h>

namespace lirno {
namespace {

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = setMessageHandler([this](const MessageRequest& r) {
      shown_.push_back(r);
      return answer_;
    });
  }
  void TearDown() override {
    setMessageHandler(previous_);
    setTranslateHook({});
  }

  MessageHandler previous_;
  std::vector<MessageRequest> shown_;
  MessageAnswer answer_ = MessageAnswer::Ok;
};

TEST_F(MessageTest, TextIsTranslatedThenFollowedByTheUntranslatedDetail) {
  setTranslateHook([](std::string_view t) {
    return t == "Fichier non trouvé :\n" ? std::string("File not found:\n") : std::string(t);
  });
  showFileNotFound("/data/Fichier non trouvé :\n.rtf");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "File not found:\n/data/Fichier non trouvé :\n.rtf");
  EXPECT_EQ(shown_[0].caption, "Lirno");
  EXPECT_EQ(shown_[0].kind, MessageKind::Warning);
}

TEST_F(MessageTest, WithoutLanguageTheFrenchTextStandsAndQuestionsReturnTheAnswer) {
  answer_ = MessageAnswer::Cancel;
  EXPECT_EQ(showMessage("Le corpus a changé. Voulez-vous l'enregistrer ?", {}, "Corpus",
                        MessageKind::Question),
            MessageAnswer::Cancel);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "Le corpus a changé. Voulez-vous l'enregistrer ?");
  EXPECT_EQ(shown_[0].caption, "Corpus");
  EXPECT_EQ(shown_[0].kind, MessageKind::Question);
}

}  // namespace
}  // namespace lirno
