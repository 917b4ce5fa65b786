#pragma once
// The one way the workbench shows a message: a modal box whose text is
// translated first and then followed by a detail such as a path.
#include <functional>
#include <string>
#include <string_view>

class QString;
class QWidget;

namespace lirno {

enum class MessageKind {
  Warning,   // exclamation icon, OK
  Question,  // question, Yes / No / Cancel
};

enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
  std::string text;     // translated text followed by the detail (UTF-8)
  std::string caption;  // "Lirno", or the resource's name for questions
  MessageKind kind;
};

// Translates a French program text (UTF-8); identity until a language is set.
using TranslateHook = std::function<std::string(std::string_view)>;
void setTranslateHook(TranslateHook hook);
std::string translate(std::string_view text);

// Shows `text` (translated) followed by `detail` (as is).
MessageAnswer showMessage(std::string_view text, std::string_view detail = {},
                          std::string_view caption = "Lirno",
                          MessageKind kind = MessageKind::Warning, QWidget* parent = nullptr);

// Shows `text` as it stands: already translated, its detail in place (a
// message whose detail comes first).
MessageAnswer showMessageAsIs(std::string_view text, std::string_view caption = "Lirno",
                              MessageKind kind = MessageKind::Warning, QWidget* parent = nullptr);

// Tests replace the box; the handler receives what would be shown. Passing
// an empty handler restores the real box. Returns the previous handler.
using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;
MessageHandler setMessageHandler(MessageHandler handler);

// Whether `text` has a Windows-1252 form, as every text the workbench keeps
// or writes must; when it has not, a message names the characters that
// have none and the caller keeps what it had.
bool checkAnsiText(const QString& text, QWidget* parent = nullptr);

// The message for a rules file that cannot be read, followed by its path.
inline constexpr const char* kRulesUnreadable = "Fichier de règles illisible : ";

// The file-not-found message for `path`.
void showFileNotFound(std::string_view path, QWidget* parent = nullptr);

}  // namespace lirno
