#pragma once
// What the thesaurus and corpus forms share: their file dialogs (replaceable
// in tests), the order of their list boxes, and the messages of a failed
// read or write.
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QIcon;
class QListWidget;
class QPushButton;
class QWidget;

namespace lirno {

// One file dialog as the forms ask for it.
struct FileQuestion {
  bool save = false;      // a save dialog (else open)
  bool multiple = false;  // several files may be chosen (open only)
  std::string filter;     // "Description|pattern|Description|pattern"
  std::string defaultSuffix;
  std::string folder;    // initial folder (UTF-8)
  std::string fileName;  // proposed file (UTF-8), may be empty
};

// Returns the chosen paths (UTF-8) in the dialog's order; none when cancelled.
using FileChooser = std::function<std::vector<std::string>(QWidget* parent, const FileQuestion&)>;
std::vector<std::string> chooseFiles(QWidget* parent, const FileQuestion& question);
// Tests replace the dialogs; an empty chooser restores them.
void setLexiconFileChooser(FileChooser chooser);


// The list boxes keep their entries sorted: locale order without regard to
// case, ties broken so that the order is total and stable.
bool listOrderLess(const QString& a, const QString& b);
// Inserts `text` at its sorted place; returns its row.
int insertSorted(QListWidget& box, const QString& text);
// The entries of the box, top to bottom.
QStringList boxEntries(const QListWidget& box);
// The selected entry that the box's caret stands on, else the first
// selected one; -1 when none is selected.
int selectedRow(const QListWidget& box);

// A file that could not be read or written: the message names it and, when
// the system gave one, the reason.
void showReadFailure(const std::string& path, int error, QWidget* parent);
void showWriteFailure(const std::string& path, int error, QWidget* parent);

// A button of the editors: named for the translation, never the default
// on its own (OK is the only default).
QPushButton* formButton(QWidget* parent, const char* name, const char* caption, bool enabled);
// The editors open centred on the screen.
void centreOnScreen(QWidget& form);

// The menu mark of an open thesaurus or corpus.
QIcon greenDot();

}  // namespace lirno
