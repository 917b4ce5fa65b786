#pragma once
// The matching state of every search string at once, as one automaton: a
// state is the list of the strings' matched counts (those above 0), an input
// is a character as the strings see it and whether it stands at a word
// start. One step does what the match steps of all the strings do, and says
// which strings completed a match, in list order.
//
// States and steps are made when the text first needs them and kept for the
// next documents of a search; past a bound on their memory they are dropped
// and made again.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lirno {

class StringAutomaton {
 public:
  struct Pattern {
    std::string text;
    int place = 0;  // kPlace...

    bool operator==(const Pattern&) const = default;
  };
  struct Step {
    std::int32_t next = -1;  // the state after it
    std::int32_t emit = -1;  // completed strings: emitted(emit); -1: none
  };
  // States are numbered by their first step's place in the table, so that a
  // step is one load from the state and the input.
  static constexpr std::int32_t kIdle = 0;  // no string under way

  // `maxSteps`: the bound on the steps kept (tests make it small).
  explicit StringAutomaton(std::vector<Pattern> patterns, std::size_t maxSteps = std::size_t{1} << 18);

  // The automaton that a scan of `patterns` may use: the one of the last
  // scan on this thread when its patterns were the same.
  static std::shared_ptr<StringAutomaton> forPatterns(std::vector<Pattern> patterns);

  int input(unsigned char c, bool atWordStart) const {
    const int k = inputOf_[c];
    return k != 0 && atWordStart && placesMatter_ ? k + chars_ : k;
  }

  // The step from `state` on `input`. `state` is renumbered when the kept
  // steps had to be dropped.
  Step step(std::int32_t& state, int input) {
    const auto at = static_cast<std::size_t>(state + input);
    const std::int32_t code = codes_[at];
    if (code < 0) return make(state, input);
    return {code >> 1, (code & 1) ? emitAt_[at] : -1};
  }

  // The steps as a table, for a scan that keeps the state itself:
  // steps()[state + input] is the next state times 2, plus 1 when the step
  // completes strings (emitAt() says which); below 0, not made yet: make()
  // it, after which the table may have moved.
  const std::int32_t* steps() const { return codes_.data(); }
  std::int32_t emitAt(std::int32_t state, int input) const {
    return emitAt_[static_cast<std::size_t>(state + input)];
  }
  Step make(std::int32_t& state, int input);

  // The strings completed by a step: count, then their indexes.
  const std::int32_t* emitted(std::int32_t emit) const { return &emits_[static_cast<std::size_t>(emit)]; }

  std::size_t patternLength(int s) const { return patterns_[static_cast<std::size_t>(s)].text.size(); }
  std::size_t states() const { return keys_.size(); }

 private:
  // A state's key: (string, matched count) pairs by string.
  using Key = std::vector<std::pair<std::int32_t, std::int32_t>>;
  std::int32_t intern(const Key& key);
  void clear();

  std::vector<Pattern> patterns_;
  std::size_t maxSteps_;
  bool placesMatter_ = false;
  std::array<std::uint8_t, 256> inputOf_{};  // 0: in no pattern
  std::vector<unsigned char> charOf_;        // a character of each input class
  int chars_ = 1;   // character classes, 0 included
  int inputs_ = 1;  // chars_, twice when a place depends on the word start
  std::array<std::vector<std::int32_t>, 256> byFirst_;  // strings by first character
  // The steps, inputs_ per state: the next state times 2, plus 1 when the
  // step completes strings (emitAt_ then tells which); -1: not made yet.
  std::vector<std::int32_t> codes_;
  std::vector<std::int32_t> emitAt_;
  std::vector<Key> keys_;
  std::unordered_map<std::string, std::int32_t> byKey_;
  std::vector<std::int32_t> emits_;
};

}  // namespace lirno
