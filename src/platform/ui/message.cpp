#include "platform/ui/message.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/cp1252.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

TranslateHook& translateHook() {
  static TranslateHook hook;
  return hook;
}

MessageHandler& messageHandler() {
  static MessageHandler handler;
  return handler;
}

MessageAnswer showBox(const MessageRequest& r, QWidget* parent) {
  if (!parent) parent = QApplication::activeWindow();
  const QString caption = fromUtf8(r.caption);
  const QString text = fromUtf8(r.text);
  if (r.kind == MessageKind::Warning) {
    QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
    return MessageAnswer::Ok;
  }
  switch (QMessageBox::question(parent, caption, text,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

}  // namespace

void setTranslateHook(TranslateHook hook) { translateHook() = std::move(hook); }

std::string translate(std::string_view text) {
  if (translateHook()) return translateHook()(text);
  return std::string(text);
}

MessageAnswer showMessage(std::string_view text, std::string_view detail, std::string_view caption,
                          MessageKind kind, QWidget* parent) {
  return showMessageAsIs(translate(text) + std::string(detail), caption, kind, parent);
}

MessageAnswer showMessageAsIs(std::string_view text, std::string_view caption, MessageKind kind,
                              QWidget* parent) {
  MessageRequest r{std::string(text), std::string(caption), kind};
  if (messageHandler()) return messageHandler()(r);
  return showBox(r, parent);
}

MessageHandler setMessageHandler(MessageHandler handler) {
  MessageHandler previous = std::move(messageHandler());
  messageHandler() = std::move(handler);
  return previous;
}

bool checkAnsiText(const QString& text, QWidget* parent) {
  const std::string missing = charactersWithoutCp1252(toUtf8(text));
  if (missing.empty()) return true;
  showMessage("Ces caractères n'existent pas en Windows-1252, l'encodage des fichiers de Lirno :\n",
              missing + "\n" + toUtf8(text), "Lirno", MessageKind::Warning, parent);
  return false;
}

void showFileNotFound(std::string_view path, QWidget* parent) {
  showMessage("Fichier non trouvé :\n", path, "Lirno", MessageKind::Warning, parent);
}

}  // namespace lirno
