#include "search/string_automaton.h"

#include <algorithm>

#include "search/request.h"

namespace lirno {
namespace {

bool placeAllows(int place, bool atWordStart) {
  if ((place == kPlaceWordStart || place == kPlaceWholeWord) && !atWordStart) return false;
  return !(place == kPlaceWordMiddle && atWordStart);
}

std::string keyBytes(const std::vector<std::pair<std::int32_t, std::int32_t>>& key) {
  std::string bytes(key.size() * sizeof key[0], '\0');
  if (!key.empty()) std::copy_n(reinterpret_cast<const char*>(key.data()), bytes.size(), bytes.data());
  return bytes;
}

}  // namespace

StringAutomaton::StringAutomaton(std::vector<Pattern> patterns, std::size_t maxSteps)
    : patterns_(std::move(patterns)), maxSteps_(maxSteps) {
  charOf_.push_back(0);
  for (std::size_t s = 0; s < patterns_.size(); ++s) {
    const Pattern& p = patterns_[s];
    if (p.text.empty()) continue;  // an empty pattern never matches
    if (p.place != kPlaceAnywhere && p.place != kPlaceWordEnd) placesMatter_ = true;
    byFirst_[static_cast<unsigned char>(p.text[0])].push_back(static_cast<std::int32_t>(s));
    for (const char ch : p.text) {
      const auto c = static_cast<unsigned char>(ch);
      if (c != 0 && inputOf_[c] == 0) {
        inputOf_[c] = static_cast<std::uint8_t>(charOf_.size());
        charOf_.push_back(c);
      }
    }
  }
  // Every byte of a pattern has a class of its own; class 0 is the bytes in
  // none. The strings never see a 0.
  chars_ = static_cast<int>(charOf_.size());
  inputs_ = placesMatter_ ? 2 * chars_ : chars_;
  clear();
}

std::shared_ptr<StringAutomaton> StringAutomaton::forPatterns(std::vector<Pattern> patterns) {
  thread_local std::shared_ptr<StringAutomaton> last;
  if (!last || last->patterns_ != patterns) last = std::make_shared<StringAutomaton>(std::move(patterns));
  return last;
}

void StringAutomaton::clear() {
  codes_.clear();
  emitAt_.clear();
  keys_.clear();
  byKey_.clear();
  emits_.clear();
  intern({});  // kIdle
}

std::int32_t StringAutomaton::intern(const Key& key) {
  auto [it, added] = byKey_.try_emplace(keyBytes(key), static_cast<std::int32_t>(codes_.size()));
  if (added) {
    keys_.push_back(key);
    codes_.resize(codes_.size() + static_cast<std::size_t>(inputs_), -1);
    emitAt_.resize(codes_.size(), -1);
  }
  return it->second;
}

StringAutomaton::Step StringAutomaton::make(std::int32_t& state, int input) {
  if (codes_.size() + 2 * static_cast<std::size_t>(inputs_) > maxSteps_) {
    const Key current = keys_[static_cast<std::size_t>(state / inputs_)];
    clear();
    state = intern(current);
  }
  const int cls = input % chars_;
  const bool atWordStart = input >= chars_;
  Step step;
  step.next = kIdle;
  if (cls != 0) {
    // The match step of each string, in list order: those under way and
    // those that may begin with this character.
    const unsigned char c = charOf_[static_cast<std::size_t>(cls)];
    const Key& from = keys_[static_cast<std::size_t>(state / inputs_)];
    const std::vector<std::int32_t>& starting = byFirst_[c];
    Key to;
    std::vector<std::int32_t> done;
    std::size_t a = 0, b = 0;
    while (a < from.size() || b < starting.size()) {
      std::int32_t s, matched = 0;
      if (b == starting.size() || (a < from.size() && from[a].first <= starting[b])) {
        s = from[a].first;
        matched = from[a].second;
        if (b < starting.size() && starting[b] == s) ++b;
        ++a;
      } else {
        s = starting[b++];
      }
      const Pattern& p = patterns_[static_cast<std::size_t>(s)];
      if (c != static_cast<unsigned char>(p.text[static_cast<std::size_t>(matched)])) {
        if (matched == 0) continue;
        // The character may begin a new match; the earlier characters of
        // the abandoned one are not tried again.
        matched = 0;
        if (c != static_cast<unsigned char>(p.text[0])) continue;
      }
      if (matched == 0 && !placeAllows(p.place, atWordStart)) continue;
      if (static_cast<std::size_t>(++matched) == p.text.size()) {
        done.push_back(s);
      } else {
        to.emplace_back(s, matched);
      }
    }
    step.next = intern(to);
    if (!done.empty()) {
      step.emit = static_cast<std::int32_t>(emits_.size());
      emits_.push_back(static_cast<std::int32_t>(done.size()));
      emits_.insert(emits_.end(), done.begin(), done.end());
    }
  }
  const auto at = static_cast<std::size_t>(state + input);
  codes_[at] = step.next * 2 + (step.emit >= 0 ? 1 : 0);
  emitAt_[at] = step.emit;
  return step;
}

}  // namespace lirno
