// The driver's hook that lets a window release the previous targets before
// the search frees them.
#include <gtest/gtest.h>

#include "search/driver.h"
#include "support/engine_fixture.h"

namespace lirno {
namespace {

using testing::FakeDocuments;
using testing::makeDocument;
using testing::makeRequest;
using testing::testRules;

struct Searches {
  RulesTables rules = testRules();
  FakeDocuments documents;
  std::vector<std::string> corpus;
  cTargetList targets;
  std::vector<std::size_t> sizesSeen;  // target count each time the hook ran

  EngineContext context() {
    EngineContext c{rules, documents, corpus, "/prog/", {}, {}, {}, {}};
    c.clearingTargets = [this] { sizesSeen.push_back(targets.size()); };
    return c;
  }
};

TEST(DriverClearingTest, RunsOnceWithThePreviousTargetsStillThere) {
  Searches run;
  run.documents.open = makeDocument("chat chien chat");
  SearchRequest first = makeRequest({{"chat"}});
  EngineContext c = run.context();
  runSearch(first, run.targets, c, true);
  ASSERT_EQ(run.targets.size(), 1u);
  EXPECT_EQ(run.sizesSeen, (std::vector<std::size_t>{0}));

  SearchRequest second = makeRequest({{"chien"}});
  runSearch(second, run.targets, c, true);
  EXPECT_EQ(run.sizesSeen, (std::vector<std::size_t>{0, 1}));
  ASSERT_EQ(run.targets.size(), 1u);
  EXPECT_EQ(run.targets[0].text, "chien");
}

TEST(DriverClearingTest, NotRunWhenTheVariantDialogIsCancelled) {
  Searches run;
  run.documents.open = makeDocument("chat chien chat");
  SearchRequest request = makeRequest({{"chat"}});
  EngineContext c = run.context();
  runSearch(request, run.targets, c, true);
  ASSERT_EQ(run.sizesSeen.size(), 1u);

  SearchRequest generated = makeRequest({{"chien"}}, kSpellingGenerated);
  c.reviewVariants = [](cArrowList&) { return false; };
  const SearchOutcome outcome = runSearch(generated, run.targets, c, true);
  EXPECT_FALSE(outcome.searched);
  EXPECT_EQ(run.sizesSeen.size(), 1u);
  ASSERT_EQ(run.targets.size(), 1u);
  EXPECT_EQ(run.targets[0].text, "chat");
}

}  // namespace
}  // namespace lirno
