#include "lexicon/ui/lexicon_files.h"

#include <QCollator>
#include <QFileDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <cstring>

#include "platform/ui/message.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_text.h"

// The menu mark lives in the shell's resources, linked from a static library.
static void initShellResources() { Q_INIT_RESOURCE(shell); }

namespace lirno {
namespace {

FileChooser& chooserHook() {
  static FileChooser c;
  return c;
}

std::vector<std::string> runFileDialog(QWidget* parent, const FileQuestion& q) {
  QFileDialog dialog(parent, QString(), fromUtf8(q.folder), qtFileFilter(q.filter));
  dialog.setAcceptMode(q.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (q.save) {
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode(q.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  dialog.setDefaultSuffix(fromUtf8(q.defaultSuffix));
  if (!q.fileName.empty()) dialog.selectFile(fromUtf8(q.fileName));
  std::vector<std::string> chosen;
  if (dialog.exec() != QDialog::Accepted) return chosen;
  for (const QString& f : dialog.selectedFiles()) chosen.push_back(toUtf8(f));
  return chosen;
}

const QCollator& collator() {
  static const QCollator c = [] {
    QCollator k;
    k.setCaseSensitivity(Qt::CaseInsensitive);
    return k;
  }();
  return c;
}

std::string reason(int error) {
  std::string out;
  if (error != 0) out.append(1, '\n').append(std::strerror(error));
  return out;
}

}  // namespace

std::vector<std::string> chooseFiles(QWidget* parent, const FileQuestion& question) {
  if (chooserHook()) return chooserHook()(parent, question);
  return runFileDialog(parent, question);
}

void setLexiconFileChooser(FileChooser chooser) { chooserHook() = std::move(chooser); }

bool listOrderLess(const QString& a, const QString& b) {
  const int byLocale = collator().compare(a, b);
  if (byLocale != 0) return byLocale < 0;
  const int byCase = QString::compare(a, b, Qt::CaseInsensitive);
  if (byCase != 0) return byCase < 0;
  return a < b;
}

int insertSorted(QListWidget& box, const QString& text) {
  // After every entry that does not sort above it: equal entries keep the
  // order they came in.
  int lo = 0;
  int hi = box.count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (listOrderLess(text, box.item(mid)->text())) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  box.insertItem(lo, text);
  return lo;
}

QStringList boxEntries(const QListWidget& box) {
  QStringList out;
  out.reserve(box.count());
  for (int i = 0; i < box.count(); ++i) out << box.item(i)->text();
  return out;
}

int selectedRow(const QListWidget& box) {
  const int current = box.currentRow();
  if (current >= 0 && box.item(current)->isSelected()) return current;
  for (int i = 0; i < box.count(); ++i) {
    if (box.item(i)->isSelected()) return i;
  }
  return -1;
}

void showReadFailure(const std::string& path, int error, QWidget* parent) {
  showMessage("Impossible de lire le fichier :\n", path + reason(error), "Lirno", MessageKind::Warning,
              parent);
}

void showWriteFailure(const std::string& path, int error, QWidget* parent) {
  showMessage("Impossible d'enregistrer le fichier :\n", path + reason(error), "Lirno",
              MessageKind::Warning, parent);
}

QPushButton* formButton(QWidget* parent, const char* name, const char* caption, bool enabled) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setEnabled(enabled);
  b->setAutoDefault(false);
  return b;
}

void centreOnScreen(QWidget& form) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    form.move(screen->availableGeometry().center() - form.rect().center());
  }
}

QIcon greenDot() {
  static const bool registered = [] {
    initShellResources();
    return true;
  }();
  (void)registered;
  return QIcon(QStringLiteral(":/GREENDOT"));
}

}  // namespace lirno
