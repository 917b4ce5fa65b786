#include "shell/command_line.h"

#include <algorithm>

#include "platform/cp1252.h"

namespace lirno {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// Splits off the next token: a quoted run up to the next quote, or a run up
// to the next blank; without a closing delimiter, the whole rest.
std::string nextToken(std::string_view& rest) {
  rest = trim(rest);
  std::string_view token;
  if (!rest.empty() && rest.front() == '"') {
    rest.remove_prefix(1);
    const std::size_t close = rest.find('"');
    token = rest.substr(0, close);
    rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
  } else {
    const std::size_t blank = rest.find(' ');
    token = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  }
  return std::string(trim(token));
}

int digitAt(const std::string& option, int low, int high) {
  if (option.size() < 3) return -1;
  const char c = option[2];
  if (c < '0' + low || c > '0' + high) return -1;
  return c - '0';
}

// Takes the tokens one at a time.
class Parser {
 public:
  void take(const std::string& token);
  CommandLine done() { return std::move(cl_); }

 private:
  enum class Waiting { None, Language, Rules, Thesaurus, Corpus, File, Ignore, Search };
  CommandLine cl_;
  Waiting waiting_ = Waiting::None;
  std::string searchFlags_;
};

void Parser::take(const std::string& token) {
  CommandLine& cl = cl_;
  switch (waiting_) {
    case Waiting::Language:
      cl.languageFile = token;
      break;
    case Waiting::Rules:
      cl.rulesFile = token;
      break;
    case Waiting::Thesaurus:
      cl.thesaurusFile = token;
      break;
    case Waiting::Corpus:
      cl.corpusFile = token;
      break;
    case Waiting::File:
      cl.fileToOpen = token;
      break;
    case Waiting::Ignore:
      break;
    case Waiting::Search: {
      std::string text = token;
      if (isMultiByteUtf8(text)) {
        if (!charactersWithoutCp1252(text).empty()) {
          cl.unconvertible += text;
          cl.unconvertible += '\n';
          break;
        }
        text = utf8ToCp1252(text);
      }
      CommandLineString s{std::move(text), 0, false};
      for (std::size_t i = 2; i < searchFlags_.size(); ++i) {
        const char f = searchFlags_[i];
        if (f >= '0' && f <= '4') s.place = f - '0';
        if (f == 'X') s.exclude = true;
      }
      if (!cl.searchStrings) cl.searchStrings.emplace();
      cl.searchStrings->push_back(std::move(s));
      break;
    }
    case Waiting::None: {
      const std::string option = upper(token);
      const std::string_view head = std::string_view(option).substr(0, 2);
      if (head == "-L") {
        waiting_ = Waiting::Language;
      } else if (head == "-R") {
        waiting_ = Waiting::Rules;
      } else if (head == "-T") {
        waiting_ = Waiting::Thesaurus;
      } else if (head == "-C") {
        waiting_ = Waiting::Corpus;
      } else if (head == "-F") {
        waiting_ = Waiting::File;
      } else if (head == "-O") {
        waiting_ = Waiting::Ignore;
      } else if (head == "-S") {
        waiting_ = Waiting::Search;
        searchFlags_ = option;
      } else if (head == "-M") {
        if (cl.spelling < 3) {
          if (const int d = digitAt(option, 0, 2); d >= 0) cl.spelling = d;
        }
      } else if (head == "-G") {
        cl.spelling = 3;
        if (const int d = digitAt(option, 1, 9); d >= 0) cl.generationLevel = d;
      } else if (head == "-X") {
        // A digit above 3 names no context; it is ignored.
        cl.context = 0;
        if (const int d = digitAt(option, 1, 3); d >= 0) cl.context = d;
      } else if (head == "-P") {
        cl.ignoreSeparators = true;
      } else if (head == "-A") {
        cl.allStrings = true;
      } else if (head == "-D") {
        cl.inOrder = true;
      } else if (head == "-W") {
        cl.resultLikeSpelling = false;
        cl.resultSpelling = 1;
        if (const int d = digitAt(option, 0, 2); d >= 0) cl.resultSpelling = d;
      } else if (head == "-Y") {
        cl.showSymbols = true;
      } else if (head == "-I") {
        cl.filterKeys = option.size() > 2 ? option.substr(2) : std::string();
        cl.resultSpelling = 0;
      } else {
        cl.fileToOpen = token;
      }
      return;
    }
  }
  waiting_ = Waiting::None;
}

// How an argument stands on a command line: quoted when it holds a blank
// or is empty.
std::size_t shownLength(const std::string& argument) {
  const bool quoted = argument.empty() || argument.find(' ') != std::string::npos;
  return argument.size() + (quoted ? 2 : 0);
}

}  // namespace

CommandLine parseCommandLine(std::string_view text) {
  Parser parser;
  std::string_view rest = text;
  while (!trim(rest).empty()) {
    const std::string token = nextToken(rest);
    if (rest.size() > kCommandLineCut) rest = rest.substr(0, kCommandLineCut);
    parser.take(token);
  }
  return parser.done();
}

CommandLine parseCommandArguments(const std::vector<std::string>& arguments, bool cut) {
  Parser parser;
  std::string dropped;
  // Characters of the command line left after the first argument and its
  // blank; each later argument costs its length as it stands there and the
  // blank before it.
  std::size_t room = kCommandLineCut;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (!cut || i == 0) {
      parser.take(std::string(trim(a)));
      continue;
    }
    const std::size_t blank = i == 1 ? 0 : 1;
    const std::size_t cost = blank + shownLength(a);
    if (cost <= room) {
      room -= cost;
      parser.take(std::string(trim(a)));
      continue;
    }
    // The cut falls inside this argument: its beginning is read, as the
    // text parser reads it, and the rest of the line is dropped.
    const std::size_t quote = shownLength(a) > a.size() ? 1 : 0;
    const std::size_t visible = room > blank + quote ? room - blank - quote : 0;
    const std::string_view head = std::string_view(a).substr(0, std::min(visible, a.size()));
    if (!trim(head).empty()) parser.take(std::string(trim(head)));
    dropped = a.substr(head.size());
    for (std::size_t j = i + 1; j < arguments.size(); ++j) dropped.append(" ").append(arguments[j]);
    break;
  }
  CommandLine cl = parser.done();
  cl.dropped = std::move(dropped);
  return cl;
}

}  // namespace lirno
