#pragma once
// The one place that shows messages, questions and the input, folder and file
// dialogs. Everything goes through a replier that tests replace, so no test
// ever waits for a dialog.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "text/failure.h"

class QWidget;

namespace cq {

// Text of a message: UI texts as QString, engine texts as UTF-8.
// A bare string literal is refused on purpose, so its encoding is never a guess.
class MessageText {
 public:
  MessageText(const QString& text) : text_(text) {}  // NOLINT: implicit on purpose
  MessageText(const std::string& text);       // NOLINT: implicit on purpose
  const QString& text() const { return text_; }

 private:
  QString text_;
};

enum class DialogKind { Plain, Information, Warning, Critical, Question, TextInput, Folder, Files, SaveFile };
enum class QuestionButtons { YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct DialogRequest {
  DialogKind kind = DialogKind::Plain;
  QString text;  // message, question or prompt; save file: the proposed file name
  QString title;
  QuestionButtons buttons = QuestionButtons::YesNo;
  QString proposal;  // text input: proposed text; folder, files and save file: start folder
  QString filter;    // files and save file: name filters, separated by ";;"
  QString defaultSuffix;  // save file: extension added to a name without one
};

struct DialogReply {
  Answer answer = Answer::Ok;  // Cancel when an input or file dialog was cancelled
  QString text;                // text input
  QStringList paths;           // folder or save file (one path), or files
};

class MessagePresenter {
 public:
  using Replier = std::function<DialogReply(const DialogRequest&)>;

  // `parent` owns the dialogs; `defaultTitle` is used when a call gives none.
  MessagePresenter(QWidget* parent, QString defaultTitle);

  // Replaces the real dialogs (tests); an empty replier restores them.
  void setReplier(Replier replier) { replier_ = std::move(replier); }

  // The window the dialogs belong to and stand above.
  QWidget* owner() const { return parent_; }

  void plain(const MessageText& text, const QString& title = {});
  void information(const MessageText& text, const QString& title = {});
  void warning(const MessageText& text, const QString& title = {});
  void critical(const MessageText& text, const QString& title = {});
  // With the question icon.
  Answer question(const MessageText& text, QuestionButtons buttons, const QString& title = {});
  // A failure of the engine: its message and, set apart below, its cause.
  void show(const Failure& failure, DialogKind kind = DialogKind::Warning, const QString& title = {});

  // nullopt when cancelled.
  std::optional<QString> askText(const MessageText& prompt, const QString& title, const QString& proposal);
  // The chosen folder ending in "/", nullopt when cancelled. An empty start is
  // the home folder.
  std::optional<QString> askFolder(const QString& title, const QString& start);
  // The chosen files; empty when cancelled.
  QStringList askFiles(const QString& title, const QString& start, const QString& filter);
  // The save dialog, which confirms replacing an existing file: the chosen
  // path, nullopt when cancelled. An empty start is the home folder.
  std::optional<QString> askSaveFile(const QString& title, const QString& start, const QString& proposedName,
                                     const QString& filter, const QString& defaultSuffix);

 private:
  friend class DialogOwnerScope;

  DialogReply present(DialogRequest request);
  DialogReply showDialog(const DialogRequest& request);

  QWidget* parent_;
  QString defaultTitle_;
  Replier replier_;
};

// While it lives, the presenter's dialogs belong to `owner`: a window that stays
// above the usual owner would otherwise cover them.
class DialogOwnerScope {
 public:
  DialogOwnerScope(MessagePresenter& messages, QWidget* owner) : messages_(messages), previous_(messages.parent_) {
    messages_.parent_ = owner;
  }
  ~DialogOwnerScope() { messages_.parent_ = previous_; }
  DialogOwnerScope(const DialogOwnerScope&) = delete;
  DialogOwnerScope& operator=(const DialogOwnerScope&) = delete;

 private:
  MessagePresenter& messages_;
  QWidget* previous_;
};

}  // namespace cq
