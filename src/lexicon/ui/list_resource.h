#pragma once
// A thesaurus or a corpus as its menu handles it: the list, its file, the
// open and changed flags and the level that enables the menu items, with
// the menu commands New, Open, Edit, Save and Close. The two resources
// differ only in their texts, their file format, their editor and one step
// of Open (see Kind).
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace lirno {

class ListResource {
 public:
  // Menu levels: nothing open; open as read or saved; edited.
  static constexpr int kClosed = 0;
  static constexpr int kOpen = 1;
  static constexpr int kEdited = 2;

  // Runs the editor over `entries`; returns its result (0 Annuler, 1 OK,
  // 2 Sau&ver) and, for OK and Sau&ver, leaves the editor's entries in
  // `entries`.
  using Editor = std::function<int(QWidget* parent, std::vector<std::string>& entries)>;
  using Reader = std::function<bool(const std::string& path, std::vector<std::string>& entries)>;
  using Writer = std::function<bool(const std::string& path, const std::vector<std::string>& entries)>;

  struct Kind {
    const char* caption;   // of the question: "Thesaurus", "Corpus"
    const char* question;  // asked on Close when changed
    const char* filter;    // of the open and save dialogs
    const char* suffix;
    // The corpus shows its editor after "&Ouvrir" whatever came before.
    bool editAfterAnyOpen;
    Reader read;
    Writer write;
  };

  ListResource(Kind kind, std::string programFolder, Editor editor);

  // Runs after every change of the level or of the open flag.
  void setStateChanged(std::function<void()> f) { stateChanged_ = std::move(f); }

  // The menu commands; `parent` is the window that gave them.
  bool close(QWidget* parent);
  void newCommand(QWidget* parent);
  void openCommand(QWidget* parent);
  bool save(QWidget* parent, bool asNew);
  bool edit(QWidget* parent);
  // Open file (start-up): read `path` without showing the editor. A file
  // that cannot be read is reported and leaves nothing open.
  bool openFile(const std::string& path, QWidget* parent);

  const std::vector<std::string>& entries() const { return entries_; }
  const std::string& path() const { return path_; }
  bool isOpen() const { return open_; }
  bool changed() const { return changed_; }
  int level() const { return level_; }

 private:
  bool read(const std::string& path, QWidget* parent);
  void setLevel(int level);

  Kind kind_;
  std::string programFolder_;
  Editor editor_;
  std::function<void()> stateChanged_;
  std::vector<std::string> entries_;
  std::string path_;
  bool open_ = false;
  bool changed_ = false;
  int level_ = kClosed;
};

}  // namespace lirno
