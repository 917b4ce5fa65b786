#pragma once
// The language tables: one object per process (owned by the application),
// loaded from a language file ("lng"), Windows-1252 on disk and UTF-8 here.
//
// A language file holds, after comment (";") and blank lines, a header
// "Lirno:<code>:", translation lines "source"="translation" and control
// lines form:control:"caption":"hint"[:"items"]. See data/eng.lng.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lirno {

// What a control line says about one control or menu item (UTF-8).
struct ControlLine {
  std::string caption;
  std::string hint;
  std::string items;  // radio-group items, separated by the four characters \r\n
  bool found = false;
};

enum class LanguageLoad {
  Loaded,          // the tables and the code are the file's
  NotOpened,       // the file could not be read: nothing changed
  NotLanguageFile  // no valid header: nothing changed
};

class LanguageTables {
 public:
  static constexpr const char* kDefaultCode = "fra";

  // Reads the language file at `path` (UTF-8). On Loaded the previous
  // tables are replaced; otherwise they stay in force.
  LanguageLoad load(const std::string& path);
  // Parses the file's bytes as load() does.
  LanguageLoad loadBytes(std::string_view bytes);

  // Frees the tables; the code becomes "fra".
  void reset();

  // The translation of `text` (UTF-8, byte-exact, first source wins), or
  // `text` itself when no file is loaded or none is equal.
  std::string translate(std::string_view text) const;

  // The first control line beginning with `key` ("frmMain:mnuOpen:").
  ControlLine findControlLine(std::string_view key) const;

  bool loaded() const { return loaded_; }
  bool hasControlLines() const { return loaded_ && !controlLines_.empty(); }
  const std::string& code() const { return code_; }

  const std::vector<std::string>& sources() const { return sources_; }
  const std::vector<std::string>& translations() const { return translations_; }
  // Each as read (UTF-8), with its line feed.
  const std::vector<std::string>& controlLines() const { return controlLines_; }

 private:
  bool loaded_ = false;
  std::string code_ = kDefaultCode;
  std::vector<std::string> sources_;
  std::vector<std::string> translations_;
  std::vector<std::string> controlLines_;
  std::unordered_map<std::string, std::size_t> firstIndex_;  // source -> its first index
};

// The text of a translation line's quoted field as the program holds it:
// the two characters \n stand for a line break. And back, for writing one.
std::string unescapeLanguageText(std::string_view field);
std::string escapeLanguageText(std::string_view text);

// The radio-group items of a control line, one per entry.
std::vector<std::string> splitRadioItems(std::string_view items);

}  // namespace lirno
