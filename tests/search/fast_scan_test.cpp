// The fast scan against the plain matcher on generated texts and requests:
// every target and every field of every occurrence must be the same.
#include <gtest/gtest.h>

#include <random>

#include "search/byte_classifier.h"
#include "search/driver.h"
#include "search/matcher.h"
#include "support/engine_fixture.h"

namespace lirno {
namespace {

// Few letters, so that patterns and partial matches meet often; every class
// of separator, symbols, letters the reduction drops (h) or joins (qu, ss,
// ll, ae), an accented letter and line breaks.
const char kAlphabet[] = "aaabbcceeehlqsuu AABL\xe9\xe9  ,..\n\r'-";

std::string randomText(std::mt19937& r, std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += kAlphabet[r() % (sizeof kAlphabet - 1)];
  if (r() % 4) text += '\n';  // most documents end with a paragraph break
  return text;
}

std::string randomPattern(std::mt19937& r, int longest = 4) {
  static const char kLetters[] = "abcehlsu'\xe9";
  std::string p;
  const int n = 1 + static_cast<int>(r() % static_cast<unsigned>(longest));
  for (int i = 0; i < n; ++i) p += kLetters[r() % (sizeof kLetters - 1)];
  return p;
}

// `many`: dozens of strings, up to 7 characters long, as a search with
// variants makes.
SearchRequest randomRequest(std::mt19937& r, bool many = false) {
  SearchRequest rq;
  const int n = many ? 30 + static_cast<int>(r() % 120) : 1 + static_cast<int>(r() % (r() % 4 == 0 ? 24 : 5));
  for (int i = 0; i < n; ++i) {
    auto s = std::make_unique<SearchString>();
    s->text = randomPattern(r, many ? 7 : 4);
    s->place = static_cast<int>(r() % 5);
    s->exclude = r() % 6 == 0;
    s->order = static_cast<std::int32_t>(i);
    rq.strings.push_back(std::move(s));
  }
  // A few variants, whose hits count for their parents.
  if (r() % 5 == 0) {
    auto v = std::make_unique<SearchString>(*rq.strings[0]);
    v->text = randomPattern(r);
    v->parent = rq.strings[0].get();
    rq.strings.push_back(std::move(v));
  }
  // A string added in the variant dialog is its own parent; a variant of a
  // variant hands its hits on through it.
  if (r() % 4 == 0) {
    SearchString* parent = rq.strings[r() % rq.strings.size()].get();
    auto v = std::make_unique<SearchString>(*parent);
    v->text = randomPattern(r);
    v->parent = r() % 2 ? parent : v.get();
    rq.strings.insert(rq.strings.begin() + static_cast<std::ptrdiff_t>(r() % rq.strings.size()), std::move(v));
  }
  rq.spelling = static_cast<int>(r() % 3);
  rq.context = static_cast<int>(r() % 4);
  rq.ignoreSeparators = r() % 2;
  rq.allStrings = r() % 3 == 0;
  rq.inOrder = r() % 3 == 0;
  rq.resultSpelling = static_cast<int>(r() % 3);
  rq.showSymbols = r() % 2;
  if (r() % 5 == 0) rq.filters = {{"A", static_cast<int>(r() % 3)}, {"B", kAnchorBoth}};
  return rq;
}

std::string describe(const cTargetList& targets) {
  std::string out;
  for (const auto& t : targets.records()) {
    out += t->text.str() + "|" + std::to_string(t->length) + "|" + std::to_string(t->searchString) + ":";
    for (const Occurrence& o : t->occurrences) {
      for (const std::int32_t v : {o.start, o.length, o.contextStart, o.contextLength,
                                   o.contextStartIndex, o.contextLengthChars, o.page, o.folio,
                                   o.verso, o.paragraphStart, o.sentenceStart, o.wordStart,
                                   o.paragraphEnd, o.sentenceEnd, o.wordEnd}) {
        out += std::to_string(v) + ",";
      }
      out += ";";
    }
    out += "\n";
  }
  return out;
}

void compareOn(const RulesTables& rules, std::uint32_t seed, int cases, bool many = false) {
  std::mt19937 r(seed);
  int withHits = 0;
  for (int c = 0; c < cases; ++c) {
    const Document doc = testing::makeDocument(randomText(r, 60 + r() % 1500));
    SearchRequest rq = randomRequest(r, many);
    preparePatterns(rq.strings, rq, rules);
    cTargetList plain, fast;
    // Two documents in a row, as in a corpus: ends must stay with theirs.
    scanDocument(rq, doc, rules, DocumentLabel("a | /"), plain, ScanMethod::kPlain);
    scanDocument(rq, doc, rules, DocumentLabel("b | /"), plain, ScanMethod::kPlain);
    scanDocument(rq, doc, rules, DocumentLabel("a | /"), fast, ScanMethod::kFast);
    scanDocument(rq, doc, rules, DocumentLabel("b | /"), fast, ScanMethod::kFast);
    const std::string expected = describe(plain);
    ASSERT_EQ(describe(fast), expected) << "case " << c << " of seed " << seed << "\ntext: " << doc.text;
    withHits += plain.empty() ? 0 : 1;
  }
  // The generator must make cases where something is found.
  EXPECT_GT(withHits, cases / 3);
}

TEST(FastScanTest, FindsWhatThePlainMatcherFinds) {
  compareOn(testing::testRules("[Substitutions]\nSS=S\nLL=L\nAE=E\nEAU=O\n"), 1, 1500);
}

TEST(FastScanTest, ManyStringsAtOnce) {
  compareOn(testing::testRules("[Substitutions]\nSS=S\nLL=L\nAE=E\nEAU=O\n"), 6, 400, true);
}

TEST(FastScanTest, WithSymbolsAsLettersAndNoEntries) {
  // A file that does not list the apostrophe and the hyphen leaves them
  // letters; substitutions of one character only.
  const std::string text = "[Separators]\n32=2\n,=2\n.=3\n!=3\n?=3\n10=4\n13=4\n[Uppers]\n0xe9=0xc9\n"
                           "[Substitutions]\nH=\nL=R\n";
  RulesTables rules;
  rules.loadRulesText(text);
  rules.loadVariantRulesText(text);
  ASSERT_EQ(rules.classOf('\''), kWordChar);
  ASSERT_TRUE(rules.substitutions.empty());
  compareOn(rules, 2, 500);
}

TEST(FastScanTest, WithLineBreaksInsideWords) {
  // Rules that leave LF a letter and make CR a symbol: a line break still
  // counts two positions wherever it stands.
  RulesTables rules = testing::testRules("[Substitutions]\nSS=S\nLL=L\n");
  rules.separatorClass['\n'] = kWordChar;
  rules.separatorClass['\r'] = kSymbol;
  compareOn(rules, 7, 400);
}

TEST(FastScanTest, WithTooManyEntryCharactersToCode) {
  // More than sixteen distinct characters in the entries: every byte that
  // may begin one stops the skip.
  compareOn(testing::testRules("[Substitutions]\nAB=C\nDE=F\nGI=J\nKL=M\nNO=P\nQR=T\nUV=W\nXY=Z\n"
                               "BA=E\nSS=S\n"),
            3, 300);
}

TEST(FastScanTest, LongTextsCrossManyBlocks) {
  const RulesTables rules = testing::testRules("[Substitutions]\nSS=S\nLL=L\n");
  std::mt19937 r(4);
  for (int c = 0; c < 20; ++c) {
    // Long stretches with nothing to find, then a hit near a block edge.
    std::string text(static_cast<std::size_t>(64 * (3 + r() % 40) - 3 + r() % 6), 'x');
    for (std::size_t k = 0; k < text.size(); k += 1 + r() % 9) text[k] = " ,.\n'"[r() % 5];
    text += " lessa ble.\n";
    text += std::string(r() % 200, 'y') + "\n";
    const Document doc = testing::makeDocument(text);
    for (int spelling : {0, 1, 2}) {
      for (int context : {0, 2}) {
        SearchRequest rq = testing::makeRequest({{"lesa"}, {"BL"}, {"e"}}, spelling, context);
        preparePatterns(rq.strings, rq, rules);
        cTargetList plain, fast;
        scanDocument(rq, doc, rules, {}, plain, ScanMethod::kPlain);
        scanDocument(rq, doc, rules, {}, fast, ScanMethod::kFast);
        ASSERT_EQ(describe(fast), describe(plain)) << text;
      }
    }
  }
}

TEST(FastScanTest, CandidatesConfirmedByThreeCharactersAcrossBlocks) {
  // Strings of three characters or more, a few with the same first two
  // (a failed start of "eesc" at "eeesc" hides the one after it), more than
  // eight to share groups, or more than 32; texts where their first two, three or all meet,
  // split by separators, symbols and dropped letters near block edges.
  const RulesTables rules = testing::testRules("[Substitutions]\nSS=S\nLL=L\n");
  const std::vector<std::string> words = {"eesc", "aab", "cab", "bca", "leb", "ssa", "ube", "lac", "ceb", "hsa"};
  std::mt19937 r(11);
  int withHits = 0;
  for (int c = 0; c < 60; ++c) {
    std::string text;
    const std::size_t n = 64 * (1 + r() % 6) + r() % 64;
    while (text.size() < n) {
      const std::string& w = words[r() % words.size()];
      switch (r() % 5) {
        case 0: text += w; break;
        case 1: text += w.substr(0, 2); break;
        case 2: text += w.substr(0, 2) + " ,'-h."[r() % 6] + w.substr(2); break;
        case 3: text += std::string(1 + r() % 2, w[0]) + w; break;
        default: text += std::string(1 + r() % 9, "xyz"[r() % 3]); break;
      }
      text += " ,.\n'-ah"[r() % 9];
    }
    const Document doc = testing::makeDocument(text);
    std::vector<testing::StringSpec> specs;
    for (std::size_t k = 0, m = 3 + r() % words.size(); k < m; ++k) specs.push_back({words[(c + k) % words.size()]});
    // Every other case with more strings than the groups serve: thirty more
    // whose first two meet in the text and whose third never does, so that
    // the candidates are confirmed one by one by their third byte.
    if (c % 2 == 1) {
      for (int k = 0; k < 30; ++k) {
        specs.push_back({std::string{"xyz"[k % 3], "xyz"[k / 3 % 3], 'q', static_cast<char>('a' + k / 9)}});
      }
    }
    for (int spelling : {0, 1, 2}) {
      for (int context : {kContextText, kContextWord, kContextSentence}) {
        for (bool ignore : {false, true}) {
          SearchRequest rq = testing::makeRequest(specs, spelling, context);
          rq.ignoreSeparators = ignore;
          preparePatterns(rq.strings, rq, rules);
          cTargetList plain, fast;
          scanDocument(rq, doc, rules, {}, plain, ScanMethod::kPlain);
          scanDocument(rq, doc, rules, {}, fast, ScanMethod::kFast);
          ASSERT_EQ(describe(fast), describe(plain)) << text;
          withHits += plain.empty() ? 0 : 1;
        }
      }
    }
  }
  EXPECT_GT(withHits, 60 * 18 / 2);
}

TEST(FastScanTest, AHitWaitsForItsSentenceAcrossManyBlocks) {
  // The pending hit knows its word end; the stretch up to the sentence end
  // is passed over and the ends and context lengths must still be right.
  const RulesTables rules = testing::testRules("[Substitutions]\nSS=S\n");
  std::mt19937 r(7);
  for (int c = 0; c < 20; ++c) {
    std::string text = "le lessa ";
    for (std::size_t n = 64 * (2 + r() % 20) + r() % 64; text.size() < n;) text += " ,"[r() % 2] + std::string(1 + r() % 7, 'x');
    text += r() % 2 ? ". fin lesa.\n" : "\nfin lesa.\n";
    const Document doc = testing::makeDocument(text);
    for (int context : {kContextText, kContextSentence, kContextParagraph}) {
      for (bool ignore : {false, true}) {
        SearchRequest rq = testing::makeRequest({{"lesa"}, {"IN"}}, kSpellingReduced, context);
        rq.ignoreSeparators = ignore;
        rq.allStrings = r() % 2;
        preparePatterns(rq.strings, rq, rules);
        cTargetList plain, fast;
        scanDocument(rq, doc, rules, {}, plain, ScanMethod::kPlain);
        scanDocument(rq, doc, rules, {}, fast, ScanMethod::kFast);
        ASSERT_FALSE(plain.empty());
        ASSERT_EQ(describe(fast), describe(plain)) << text;
      }
    }
  }
}

TEST(FastScanTest, ManyStringsOverStretchesOfChangingDensity) {
  // Dense stretches, where every letter may begin one of the strings and the
  // skip passes over next to nothing, then sparse ones it passes over whole,
  // each longer than the scan's pauses, with hits on both sides of each
  // change.
  const RulesTables rules = testing::testRules("[Substitutions]\nSS=S\nLL=L\n");
  std::mt19937 r(8);
  for (int c = 0; c < 6; ++c) {
    std::string text;
    for (int stretch = 0; stretch < 6; ++stretch) {
      const bool dense = (stretch + c) % 2 == 0;
      const std::size_t end = text.size() + 3000 + r() % 9000;
      while (text.size() < end) {
        if (dense) {
          text += std::string(1 + r() % 4, "abcels"[r() % 6]) + " ,.\n"[r() % 4];
        } else {
          text += std::string(1 + r() % 9, 'x') + " ,"[r() % 2];
          if (r() % 200 == 0) text += "lessa ";
        }
      }
    }
    const Document doc = testing::makeDocument(text);
    for (int spelling : {0, 1, 2}) {
      for (int context : {kContextText, kContextSentence}) {
        std::vector<testing::StringSpec> specs;
        for (int k = 0; k < 40; ++k) specs.push_back({randomPattern(r, 4)});
        specs.push_back({"lesa"});
        SearchRequest rq = testing::makeRequest(specs, spelling, context);
        preparePatterns(rq.strings, rq, rules);
        cTargetList plain, fast;
        scanDocument(rq, doc, rules, {}, plain, ScanMethod::kPlain);
        scanDocument(rq, doc, rules, {}, fast, ScanMethod::kFast);
        ASSERT_FALSE(plain.empty());
        ASSERT_EQ(describe(fast), describe(plain)) << "case " << c << ", spelling " << spelling;
      }
    }
  }
}

TEST(FastScanTest, TablesFollowRulesChangedBetweenScans) {
  // The same strings scanned again after the rules changed in place: what
  // the fast scan built for the first rules must not serve the second. The
  // stretches it passes over hold the changed characters.
  RulesTables rules;
  std::string text;
  for (int k = 0; k < 40; ++k) text += "xxx-xxx xx'xx xessa xxxxx-xx lessa.\n";
  const Document doc = testing::makeDocument(text);
  const char* const changes[] = {
      "[Substitutions]\nSS=S\n",
      "[Substitutions]\nSS=S\nXE=Q\n",  // x then e reduces to q
      "[Separators]\n-=3\n[Substitutions]\nSS=S\n",  // the hyphen ends a sentence
      "[Separators]\n'=0\n[Substitutions]\nSS=S\n",  // the apostrophe a letter
  };
  for (int spelling : {kSpellingSame, kSpellingReduced}) {
    for (const char* change : changes) {
      rules = testing::testRules(change);
      SearchRequest rq = testing::makeRequest({{"lesa"}, {"qsa"}, {"x'x"}}, spelling, kContextSentence);
      preparePatterns(rq.strings, rq, rules);
      cTargetList plain, fast;
      scanDocument(rq, doc, rules, {}, plain, ScanMethod::kPlain);
      scanDocument(rq, doc, rules, {}, fast, ScanMethod::kFast);
      ASSERT_EQ(describe(fast), describe(plain)) << change << ", spelling " << spelling;
    }
  }
}

TEST(ByteClassifierTest, EveryMethodGivesThePlainMasks) {
  std::mt19937 r(5);
  for (const auto method : {ByteClassifier::Method::kAvx2, ByteClassifier::Method::kAvx512}) {
    if (!ByteClassifier::available(method)) continue;
    for (int c = 0; c < 50; ++c) {
      std::array<std::uint8_t, 256> table{};
      for (auto& v : table) v = static_cast<std::uint8_t>(r());
      unsigned char bytes[kBlockBytes * 3];
      for (auto& b : bytes) b = static_cast<unsigned char>(r());
      const ByteClassifier fast(table, method), plain(table, ByteClassifier::Method::kPlain);
      ASSERT_EQ(fast.method(), method);
      BlockBits a[3], b[3];
      fast.bits(bytes, 3, a);
      plain.bits(bytes, 3, b);
      for (int k = 0; k < 3; ++k) {
        for (int n = 0; n < 8; ++n) ASSERT_EQ(a[k].bit[n], b[k].bit[n]);
      }
      const std::uint8_t values[3] = {table[bytes[0]], table[bytes[70]], 0};
      std::uint64_t x[9], y[9];
      fast.equal(bytes, 3, values, 3, x);
      plain.equal(bytes, 3, values, 3, y);
      for (int k = 0; k < 9; ++k) ASSERT_EQ(x[k], y[k]);
    }
  }
}

}  // namespace
}  // namespace lirno
