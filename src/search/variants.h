#pragma once
// Variant generation: the [Genor] rules applied to a word until they yield
// nothing new, the rules' conditions, and the variant search strings.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_write.h"
#include "search/request.h"
#include "search/rules_tables.h"

namespace lirno {

// The generation stops adding variants past these bounds: a rule whose
// replacement is longer than what it replaces would otherwise grow the list
// without end.
inline constexpr std::size_t kMaxVariantsPerWord = 10000;
inline constexpr std::size_t kMaxVariantLength = 256;
// The same for a whole request, whose strings each have their own bound
// above: the variant strings it adds, and the rule applications tried for
// all its strings (each one a condition, a string built and looked up, and
// a line of the generation file), which bound its time.
inline constexpr std::size_t kMaxVariantsPerRequest = 100000;
inline constexpr std::size_t kMaxApplicationsPerRequest = 2000000;

struct RequestBounds {
  std::size_t variants = kMaxVariantsPerRequest;
  std::size_t applications = kMaxApplicationsPerRequest;
};

// Which bounds stopped a generation.
struct VariantLimits {
  bool perString = false;
  bool perRequest = false;
  bool any() const { return perString || perRequest; }
};

// The generation file "Lirno_Genor.txt": one line per rule application.
class GenerationLog {
 public:
  GenerationLog() = default;
  ~GenerationLog();
  GenerationLog(const GenerationLog&) = delete;
  GenerationLog& operator=(const GenerationLog&) = delete;

  // Starts the file afresh; false (and no log) when it cannot be created.
  bool open(const std::string& path);
  // Puts the new file in place of the old one; false when it could not be
  // written whole (the old one then stays).
  bool close();
  bool isOpen() const { return file_ != nullptr; }

  // "word\tposition+1\tfrom->to (level)\tvariant" and CR LF.
  void write(std::string_view word, std::size_t position, const VariantRule& rule,
             std::string_view variant);

 private:
  std::unique_ptr<FileWriter> file_;
};

struct GeneratedVariants {
  std::vector<std::string> words;  // the word and its variants, sorted, distinct
  bool limited = false;            // a bound of the word stopped the generation
  bool outOfBudget = false;        // the request's budget stopped it
};

// What a request still allows: rule applications, and variants (of one
// word, besides the word itself).
struct GenerationBudget {
  std::size_t applications;
  std::size_t variants;
};

// Generate variants of `word` at `level`; `log` may be null. With a budget,
// each rule application uses up one of its applications, and the word takes
// no more variants than it allows: the generation stops there.
GeneratedVariants generateVariants(std::string_view word, int level, const cGenoaList& rules,
                                   GenerationLog* log, GenerationBudget* budget = nullptr);

// Parentheses nested deeper than this make a condition an error.
inline constexpr int kMaxConditionDepth = 200;

// Evaluate condition for the rule position `x` of `word`: non-zero holds.
// An empty condition holds; a condition with an error gives 0.
long long evaluateCondition(std::string_view condition, std::string_view word, long long x);

// Create variant strings: for each string present at the start, the
// variants of its pattern that no string has yet as its pattern join the
// list as variant strings (copies of it with the variant as pattern, no
// text, and it as parent). Returns the bounds that stopped the generation
// (per string, or for the whole request: kMaxVariantsPerRequest variant
// strings, kMaxApplicationsPerRequest applications).
VariantLimits createVariantStrings(cArrowList& strings, int level, const cGenoaList& rules,
                                   GenerationLog* log, const RequestBounds& bounds = {});

}  // namespace lirno
