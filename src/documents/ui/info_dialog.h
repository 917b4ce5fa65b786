#pragma once
// TfrmInfo, the information view: a document's information file (or any
// rich text or plain text file) read in `reInfo`, its links opened by the
// system. One instance for the whole process, shared by the main windows.
#include <QDialog>

#include <functional>
#include <string>
#include <string_view>

class QPushButton;
class QTextBrowser;
class QUrl;
class QWidget;

namespace lirno {

class TfrmInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmInfo(QWidget* parent = nullptr);

  // Reads the file at `path` (UTF-8) into the view: RTF through our
  // converter, anything else as plain text; addresses become links. False,
  // the view unchanged, when the file cannot be read.
  bool loadFile(const std::string& path);
  // Puts bytes of a file's contents into the view, as loadFile does.
  void loadBytes(std::string_view bytes);

  // loadFile, then the view shown (application-modal, returns at once). On
  // failure the file-not-found message names the path and nothing is shown.
  bool showFile(const std::string& path);

  // Sets the captions of the view (translated); run again when the language
  // changes.
  void retranslate();

  // Opens a link's target; tests replace the system's "open".
  using LinkOpener = std::function<void(const QUrl&)>;
  void setLinkOpener(LinkOpener opener) { opener_ = std::move(opener); }

  QTextBrowser* reInfo = nullptr;
  QWidget* pnlBottom = nullptr;
  QPushButton* btnOK = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void openLink(const QUrl& url);
  LinkOpener opener_;
};

}  // namespace lirno
