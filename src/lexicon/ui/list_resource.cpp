#include "lexicon/ui/list_resource.h"

#include <cerrno>

#include "lexicon/ui/lexicon_files.h"
#include "platform/paths.h"
#include "platform/ui/message.h"

namespace lirno {

ListResource::ListResource(Kind kind, std::string programFolder, Editor editor)
    : kind_(std::move(kind)), programFolder_(std::move(programFolder)), editor_(std::move(editor)) {}

void ListResource::setLevel(int level) {
  level_ = level;
  if (stateChanged_) stateChanged_();
}

bool ListResource::close(QWidget* parent) {
  if (changed_) {
    switch (showMessage(kind_.question, {}, kind_.caption, MessageKind::Question, parent)) {
      case MessageAnswer::Yes:
        if (!save(parent, false)) return false;
        break;
      case MessageAnswer::No:
        break;
      default:
        return false;
    }
  }
  open_ = false;
  entries_.clear();
  path_.clear();
  // The changes went with the list: a later Close of another list must not
  // ask about them, nor offer to write this one's empty list over a file.
  changed_ = false;
  setLevel(kClosed);
  return true;
}

void ListResource::newCommand(QWidget* parent) {
  if (!close(parent)) return;
  if (!edit(parent)) return;
  open_ = true;
  // Unsaved but not "edited": only "Enregistrer &sous" saves a new list.
  setLevel(kOpen);
}

bool ListResource::read(const std::string& path, QWidget* parent) {
  std::vector<std::string> read;
  errno = 0;
  if (!kind_.read(path, read)) {
    showReadFailure(path, errno, parent);
    return false;
  }
  path_ = path;
  entries_ = std::move(read);
  open_ = true;
  setLevel(kOpen);
  return true;
}

void ListResource::openCommand(QWidget* parent) {
  if (close(parent)) {
    FileQuestion q;
    q.filter = kind_.filter;
    q.defaultSuffix = kind_.suffix;
    q.folder = programFolder_;
    const std::vector<std::string> chosen = chooseFiles(parent, q);
    if (!chosen.empty()) {
      if (!read(chosen.front(), parent)) return;
    } else if (!kind_.editAfterAnyOpen) {
      return;
    }
  } else if (!kind_.editAfterAnyOpen) {
    return;
  }
  const bool wasOpen = open_;
  // A list built in an editor shown over no open one is open from then on,
  // as after "&Nouveau"; else it could be saved but never used.
  if (edit(parent) && !wasOpen) {
    open_ = true;
    setLevel(level_);
  }
}

bool ListResource::save(QWidget* parent, bool asNew) {
  FileQuestion q;
  q.save = true;
  q.filter = kind_.filter;
  q.defaultSuffix = kind_.suffix;
  q.fileName = asNew ? std::string() : path_;
  q.folder = path_.empty() ? programFolder_ : folderOf(path_);
  const std::vector<std::string> chosen = chooseFiles(parent, q);
  if (chosen.empty()) return false;
  const std::string& target = chosen.front();
  errno = 0;
  if (!kind_.write(target, entries_)) {
    showWriteFailure(target, errno, parent);
    return false;
  }
  path_ = target;
  changed_ = false;
  setLevel(kOpen);
  return true;
}

bool ListResource::edit(QWidget* parent) {
  std::vector<std::string> edited = entries_;
  const int result = editor_(parent, edited);
  if (result == 0) return false;
  changed_ = true;
  entries_ = std::move(edited);
  setLevel(kEdited);
  if (result == 2) save(parent, false);
  return true;
}

bool ListResource::openFile(const std::string& path, QWidget* parent) { return read(path, parent); }

}  // namespace lirno
