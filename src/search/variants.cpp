#include "search/variants.h"

#include <algorithm>
#include <memory>
#include <set>
#include <unordered_set>

namespace lirno {

GenerationLog::~GenerationLog() { close(); }

bool GenerationLog::open(const std::string& path) {
  close();
  // Replaced whole at the close: a failed run leaves the previous log.
  auto file = std::make_unique<FileWriter>();
  if (!file->open(path, FileWriter::Mode::Replace)) return false;
  file_ = std::move(file);
  return true;
}

bool GenerationLog::close() {
  if (!file_) return true;
  const bool ok = file_->commit();
  file_.reset();
  return ok;
}

void GenerationLog::write(std::string_view word, std::size_t position, const VariantRule& rule,
                          std::string_view variant) {
  if (!file_) return;
  std::string line;
  line.reserve(word.size() + variant.size() + rule.from.size() + rule.to.size() + 32);
  line.append(word).append("\t").append(std::to_string(position + 1)).append("\t");
  line.append(rule.from).append("->").append(rule.to);
  line.append(" (").append(std::to_string(rule.level)).append(")\t");
  line.append(variant).append("\r\n");
  file_->write(line);
}

namespace {

// Conditions: three levels of binary operators, loosest first "&" "|",
// then "=" "#", then "+" "-", left to right within a level. Operands are
// signed numbers, the position x, string literals and parenthesised
// sub-expressions. Any error makes the whole condition 0.
class ConditionParser {
 public:
  ConditionParser(std::string_view text, std::string_view word, long long x)
      : text_(text), word_(word), x_(x) {}

  long long evaluate() {
    Value v;
    if (!loosest(v) || pos_ != text_.size() || v.isString) return 0;
    return v.number;
  }

 private:
  struct Value {
    bool isString = false;
    long long number = 0;
    std::string_view literal;
  };

  static constexpr long long kLimit = 1'000'000'000'000'000LL;

  static long long clamp(long long v) { return std::clamp(v, -kLimit, kLimit); }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }

  // After an operand: an operator of some level, a ")" or the end.
  bool followsOperand() const {
    const char c = peek();
    return atEnd() || c == '&' || c == '|' || c == '=' || c == '#' || c == '+' || c == '-' ||
           c == ')';
  }

  bool loosest(Value& v) {
    if (!comparison(v)) return false;
    while (peek() == '&' || peek() == '|') {
      const char op = text_[pos_++];
      Value r;
      if (!comparison(r) || v.isString || r.isString) return false;
      v.number = op == '&' ? (v.number & r.number) : (v.number | r.number);
    }
    return true;
  }

  bool comparison(Value& v) {
    if (!sum(v)) return false;
    while (peek() == '=' || peek() == '#') {
      const char op = text_[pos_++];
      Value r;
      if (!sum(r)) return false;
      const bool equal = same(v, r);
      v = Value{};
      v.number = (op == '=') == equal ? 1 : 0;
    }
    return true;
  }

  // A position against a literal compares the literal with the word's
  // characters from that position; outside the word stands a blank. Two
  // numbers or two literals compare by value.
  bool same(const Value& a, const Value& b) const {
    if (a.isString && b.isString) return a.literal == b.literal;
    if (!a.isString && !b.isString) return a.number == b.number;
    const long long at = a.isString ? b.number : a.number;
    const std::string_view literal = a.isString ? a.literal : b.literal;
    if (at < 0 || at >= static_cast<long long>(word_.size())) {
      return literal.empty() || literal == " ";
    }
    return word_.substr(static_cast<std::size_t>(at), literal.size()) == literal;
  }

  bool sum(Value& v) {
    if (!operand(v)) return false;
    while (peek() == '+' || peek() == '-') {
      const char op = text_[pos_++];
      Value r;
      if (!operand(r) || v.isString || r.isString) return false;
      v.number = clamp(op == '+' ? v.number + r.number : v.number - r.number);
    }
    return true;
  }

  bool operand(Value& v) {
    v = Value{};
    bool negative = false, hasSign = false;
    if (peek() == '+' || peek() == '-') {
      hasSign = true;
      negative = text_[pos_++] == '-';
      if (peek() == '+' || peek() == '-') return false;  // two signs in a row
    }
    if (atEnd()) return false;  // the expression ends after an operator
    const char c = text_[pos_];
    if (c >= '0' && c <= '9') {
      long long n = 0;
      while (peek() >= '0' && peek() <= '9') n = clamp(n * 10 + (text_[pos_++] - '0'));
      v.number = negative ? -n : n;
    } else if (c == 'x' || c == 'X') {
      ++pos_;
      v.number = x_;  // a sign before x is ignored
    } else if (c == '"' || c == '\'') {
      if (hasSign) return false;  // only numbers and sub-expressions take a sign
      const std::size_t close = text_.find(c, pos_ + 1);
      if (close == std::string_view::npos) return false;  // no closing quote
      v.isString = true;
      v.literal = text_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
    } else if (c == '(') {
      // Each level is a few frames of recursion: a deeper one is an error
      // (a rules line, at most 255 characters, never nests this deep).
      if (++depth_ > kMaxConditionDepth) return false;
      ++pos_;
      if (!loosest(v) || peek() != ')' || v.isString) return false;
      --depth_;
      ++pos_;
      if (negative) v.number = -v.number;
    } else {
      return false;  // an unknown character or an operator where an operand is expected
    }
    return followsOperand();
  }

  std::string_view text_;
  std::string_view word_;
  long long x_;
  std::size_t pos_ = 0;
  int depth_ = 0;  // parentheses open around the current operand
};

}  // namespace

long long evaluateCondition(std::string_view condition, std::string_view word, long long x) {
  if (condition.empty()) return 1;
  return ConditionParser(condition, word, x).evaluate();
}

GeneratedVariants generateVariants(std::string_view word, int level, const cGenoaList& rules,
                                   GenerationLog* log, GenerationBudget* budget) {
  GeneratedVariants out;
  std::set<std::string, std::less<>> all{std::string(word)};
  std::set<std::string, std::less<>> unprocessed{std::string(word)};
  while (!unprocessed.empty() && !out.outOfBudget) {
    bool applied = false;
    std::set<std::string, std::less<>> fresh;
    for (auto it = unprocessed.rbegin(); it != unprocessed.rend() && !out.outOfBudget; ++it) {
      const std::string& u = *it;
      for (std::size_t i = 0; i < u.size() && !out.outOfBudget; ++i) {
        for (const VariantRule& r : rules) {
          if (level < r.level || u.compare(i, r.from.size(), r.from) != 0) continue;
          if (evaluateCondition(r.condition, u, static_cast<long long>(i)) == 0) continue;
          if (budget) {
            if (budget->applications == 0) {
              out.outOfBudget = true;
              break;
            }
            --budget->applications;
          }
          applied = true;
          std::string variant = u.substr(0, i);
          variant += r.to;
          variant += std::string_view(u).substr(i + r.from.size(), 128);
          if (log) log->write(u, i, r, variant);
          if (all.count(variant) || fresh.count(variant)) continue;
          if (variant.size() > kMaxVariantLength || all.size() + fresh.size() >= kMaxVariantsPerWord) {
            out.limited = true;
            continue;
          }
          if (budget && all.size() + fresh.size() > budget->variants) {
            out.outOfBudget = true;
            break;
          }
          fresh.insert(std::move(variant));
        }
      }
    }
    unprocessed.clear();
    if (!applied) break;
    for (const std::string& v : fresh) {
      all.insert(v);
      unprocessed.insert(v);
    }
  }
  out.words.assign(all.begin(), all.end());
  return out;
}

VariantLimits createVariantStrings(cArrowList& strings, int level, const cGenoaList& rules,
                                   GenerationLog* log, const RequestBounds& bounds) {
  VariantLimits limits;
  std::unordered_set<std::string> patterns;
  for (const auto& s : strings) patterns.insert(s->pattern);
  const std::size_t typed = strings.size();
  GenerationBudget budget{bounds.applications, bounds.variants};
  std::size_t added = 0;
  for (std::size_t k = 0; k < typed && !limits.perRequest; ++k) {
    const SearchString* source = strings[k].get();
    budget.variants = bounds.variants - added;
    GeneratedVariants g = generateVariants(source->pattern, level, rules, log, &budget);
    limits.perString = limits.perString || g.limited;
    limits.perRequest = g.outOfBudget;
    for (std::string& v : g.words) {
      if (v == source->pattern || patterns.count(v)) continue;
      if (added == bounds.variants) {
        limits.perRequest = true;
        break;
      }
      patterns.insert(v);
      ++added;
      auto variant = std::make_unique<SearchString>(*source);
      variant->text.clear();
      variant->pattern = std::move(v);
      variant->parent = source;
      strings.push_back(std::move(variant));
    }
  }
  return limits;
}

}  // namespace lirno
