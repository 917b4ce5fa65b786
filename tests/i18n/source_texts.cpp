#include "i18n/source_texts.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace lirno::testing {
namespace {

// The code as tokens that matter here: identifiers, string literals (decoded,
// adjacent ones joined) and single punctuation characters; comments and
// character literals dropped.
struct Token {
  enum Kind { Identifier, Literal, Punct } kind;
  std::string text;
};

std::string decodeEscape(const std::string& s, std::size_t& i) {
  const char c = s[i];
  switch (c) {
    case 'n': return "\n";
    case 't': return "\t";
    case 'r': return "\r";
    case '0': return std::string(1, '\0');
    case 'x': {
      std::size_t j = i + 1;
      int v = 0;
      while (j < s.size() && std::isxdigit(static_cast<unsigned char>(s[j]))) {
        v = v * 16 + (std::isdigit(static_cast<unsigned char>(s[j])) ? s[j] - '0' : (std::tolower(s[j]) - 'a' + 10));
        ++j;
      }
      i = j - 1;
      return std::string(1, static_cast<char>(v));
    }
    default: return std::string(1, c);
  }
}

std::vector<Token> tokenize(const std::string& s) {
  std::vector<Token> out;
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (s.compare(i, 2, "//") == 0) {
      i = s.find('\n', i);
      if (i == std::string::npos) break;
    } else if (s.compare(i, 2, "/*") == 0) {
      i = s.find("*/", i + 2);
      if (i == std::string::npos) break;
      i += 2;
    } else if (c == '"') {
      std::string text;
      ++i;
      while (i < s.size() && s[i] != '"') {
        if (s[i] == '\\' && i + 1 < s.size()) {
          ++i;
          text += decodeEscape(s, i);
        } else {
          text += s[i];
        }
        ++i;
      }
      ++i;
      if (!out.empty() && out.back().kind == Token::Literal) {
        out.back().text += text;
      } else {
        // u8"..." and friends: the prefix was read as an identifier.
        if (!out.empty() && out.back().kind == Token::Identifier &&
            (out.back().text == "u8" || out.back().text == "R" || out.back().text == "L")) {
          out.pop_back();
        }
        out.push_back({Token::Literal, text});
      }
    } else if (c == '\'') {
      ++i;
      while (i < s.size() && s[i] != '\'') i += s[i] == '\\' ? 2 : 1;
      ++i;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t j = i;
      while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '_')) ++j;
      out.push_back({Token::Identifier, s.substr(i, j - i)});
      i = j;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else {
      out.push_back({Token::Punct, std::string(1, c)});
      ++i;
    }
  }
  return out;
}

bool isTableName(const std::string& id) {
  return id.size() > 1 && id[0] == 'k' && std::isupper(static_cast<unsigned char>(id[1]));
}

// kName[] = { "a", "b" } and kName = "a" anywhere in the code.
void collectTables(const std::vector<Token>& t, std::map<std::string, std::vector<std::string>>& tables) {
  for (std::size_t i = 0; i + 1 < t.size(); ++i) {
    if (t[i].kind != Token::Identifier || !isTableName(t[i].text)) continue;
    std::size_t j = i + 1;
    if (t[j].text == "[") {
      while (j < t.size() && t[j].text != "]") ++j;
      ++j;
    }
    if (j + 1 >= t.size() || t[j].text != "=") continue;
    ++j;
    std::vector<std::string>& entries = tables[t[i].text];
    if (t[j].kind == Token::Literal) {
      entries.push_back(t[j].text);
    } else if (t[j].text == "{") {
      int depth = 0;
      for (; j < t.size(); ++j) {
        if (t[j].text == "{") ++depth;
        if (t[j].text == "}" && --depth == 0) break;
        if (t[j].kind == Token::Literal) entries.push_back(t[j].text);
      }
    }
  }
}

struct Call {
  std::vector<std::string> literals;
  std::vector<std::string> tableNames;
};

// The arguments of each call to a translating function that take the text.
void collectCalls(const std::vector<Token>& t, std::vector<Call>& calls) {
  for (std::size_t i = 0; i + 1 < t.size(); ++i) {
    if (t[i].kind != Token::Identifier || t[i + 1].text != "(") continue;
    const std::string& f = t[i].text;
    // Which argument holds the text: translateToAnsi(translator, text).
    int argument;
    if (f == "translate" || f == "T" || f == "translatable" || f == "showMessage") {
      argument = 0;
    } else if (f == "translateToAnsi") {
      argument = 1;
    } else {
      continue;
    }
    Call call;
    int depth = 0, index = 0;
    for (std::size_t j = i + 1; j < t.size(); ++j) {
      const std::string& x = t[j].text;
      if (t[j].kind == Token::Punct && (x == "(" || x == "[" || x == "{")) ++depth;
      if (t[j].kind == Token::Punct && (x == ")" || x == "]" || x == "}")) {
        if (--depth == 0) break;
      }
      if (depth == 1 && x == "," && t[j].kind == Token::Punct) {
        ++index;
        continue;
      }
      if (index != argument) continue;
      if (t[j].kind == Token::Literal) call.literals.push_back(x);
      if (t[j].kind == Token::Identifier && isTableName(x)) call.tableNames.push_back(x);
    }
    calls.push_back(std::move(call));
  }
}

std::set<std::string> resolve(const std::vector<Call>& calls,
                              const std::map<std::string, std::vector<std::string>>& tables) {
  std::set<std::string> out;
  for (const Call& c : calls) {
    for (const std::string& l : c.literals) {
      if (!l.empty()) out.insert(l);
    }
    for (const std::string& name : c.tableNames) {
      const auto it = tables.find(name);
      if (it == tables.end()) continue;
      for (const std::string& e : it->second) {
        if (!e.empty()) out.insert(e);
      }
    }
  }
  return out;
}

}  // namespace

std::set<std::string> translatedTextsOf(const std::string& code) {
  const std::vector<Token> tokens = tokenize(code);
  std::map<std::string, std::vector<std::string>> tables;
  std::vector<Call> calls;
  collectTables(tokens, tables);
  collectCalls(tokens, calls);
  return resolve(calls, tables);
}

std::set<std::string> translatedSourceTexts(const std::string& sourceFolder) {
  std::map<std::string, std::vector<std::string>> tables;
  std::vector<Call> calls;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(sourceFolder)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    const std::vector<Token> tokens = tokenize(ss.str());
    collectTables(tokens, tables);
    collectCalls(tokens, calls);
  }
  return resolve(calls, tables);
}

}  // namespace lirno::testing
