// The automaton of the strings against each string's own match step.
#include "search/string_automaton.h"

#include <gtest/gtest.h>

#include <random>

#include "search/request.h"

namespace lirno {
namespace {

// One string's match step as the matcher takes it; true when it completes.
bool matchStep(const StringAutomaton::Pattern& p, int& matched, unsigned char c, bool atWordStart) {
  if (p.text.empty()) return false;
  if (c != static_cast<unsigned char>(p.text[static_cast<std::size_t>(matched)])) {
    if (matched == 0) return false;
    matched = 0;
    if (c != static_cast<unsigned char>(p.text[0])) return false;
  }
  if (matched == 0) {
    const bool startOnly = p.place == kPlaceWordStart || p.place == kPlaceWholeWord;
    if (startOnly ? !atWordStart : p.place == kPlaceWordMiddle && atWordStart) return false;
  }
  if (static_cast<std::size_t>(++matched) < p.text.size()) return false;
  matched = 0;
  return true;
}

void compare(std::uint32_t seed, std::size_t maxSteps) {
  std::mt19937 r(seed);
  for (int c = 0; c < 200; ++c) {
    std::vector<StringAutomaton::Pattern> patterns;
    const int n = 1 + static_cast<int>(r() % 40);
    for (int k = 0; k < n; ++k) {
      std::string text;
      const int length = static_cast<int>(r() % 6);  // empty ones too
      for (int j = 0; j < length; ++j) text += "aabcA\xe9"[r() % 6];
      patterns.push_back({text, static_cast<int>(r() % 5)});
    }
    StringAutomaton automaton(patterns, maxSteps);
    std::vector<int> matched(patterns.size(), 0);
    std::int32_t state = StringAutomaton::kIdle;
    std::string trace;
    for (int step = 0; step < 2000; ++step) {
      if (r() % 50 == 0) {  // the scan resets the strings
        state = StringAutomaton::kIdle;
        std::fill(matched.begin(), matched.end(), 0);
      }
      const auto ch = static_cast<unsigned char>("aabcAx\xe9"[r() % 7]);
      const bool atWordStart = r() % 4 == 0;
      trace += static_cast<char>(ch);
      std::vector<std::int32_t> expected;
      for (std::size_t s = 0; s < patterns.size(); ++s) {
        if (matchStep(patterns[s], matched[s], ch, atWordStart)) expected.push_back(static_cast<std::int32_t>(s));
      }
      const StringAutomaton::Step got = automaton.step(state, automaton.input(ch, atWordStart));
      state = got.next;
      std::vector<std::int32_t> completed;
      if (got.emit >= 0) {
        const std::int32_t* done = automaton.emitted(got.emit);
        completed.assign(done + 1, done + 1 + done[0]);
      }
      ASSERT_EQ(completed, expected) << "case " << c << ", after " << trace;
      const bool idle = std::all_of(matched.begin(), matched.end(), [](int m) { return m == 0; });
      ASSERT_EQ(state == StringAutomaton::kIdle, idle) << "case " << c << ", after " << trace;
    }
  }
}

TEST(StringAutomatonTest, StepsAsEveryStringDoes) { compare(1, std::size_t{1} << 18); }

TEST(StringAutomatonTest, DroppingTheKeptStepsChangesNothing) {
  // Room for a few states only: they are dropped and made again all along.
  compare(2, 64);
}

}  // namespace
}  // namespace lirno
