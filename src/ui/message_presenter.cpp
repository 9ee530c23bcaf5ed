#include "ui/message_presenter.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "app/text_boundary.h"

namespace cq {

namespace {

QMessageBox::Icon boxIcon(DialogKind kind) {
  switch (kind) {
    case DialogKind::Information:
      return QMessageBox::Information;
    case DialogKind::Warning:
      return QMessageBox::Warning;
    case DialogKind::Critical:
      return QMessageBox::Critical;
    case DialogKind::Question:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons boxButtons(const DialogRequest& request) {
  if (request.kind != DialogKind::Question) return QMessageBox::Ok;
  switch (request.buttons) {
    case QuestionButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case QuestionButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case QuestionButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

Answer answerOf(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return Answer::Cancel;
  }
}

// Messages arrive with CR LF line breaks; a message box wants LF.
QString withLineFeeds(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

DialogRequest requestOf(DialogKind kind, QString text, QString title) {
  DialogRequest request;
  request.kind = kind;
  request.text = std::move(text);
  request.title = std::move(title);
  return request;
}

QString startFolder(const QString& start) { return start.isEmpty() ? QDir::homePath() : start; }

QString asFolder(QString folder) {
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

}  // namespace

MessageText::MessageText(const std::string& text) : text_(toQString(text)) {}

MessagePresenter::MessagePresenter(QWidget* parent, QString defaultTitle)
    : parent_(parent), defaultTitle_(std::move(defaultTitle)) {}

void MessagePresenter::plain(const MessageText& text, const QString& title) {
  present(requestOf(DialogKind::Plain, text.text(), title));
}

void MessagePresenter::information(const MessageText& text, const QString& title) {
  present(requestOf(DialogKind::Information, text.text(), title));
}

void MessagePresenter::warning(const MessageText& text, const QString& title) {
  present(requestOf(DialogKind::Warning, text.text(), title));
}

void MessagePresenter::critical(const MessageText& text, const QString& title) {
  present(requestOf(DialogKind::Critical, text.text(), title));
}

Answer MessagePresenter::question(const MessageText& text, QuestionButtons buttons, const QString& title) {
  DialogRequest request = requestOf(DialogKind::Question, text.text(), title);
  request.buttons = buttons;
  return present(std::move(request)).answer;
}

void MessagePresenter::show(const Failure& failure, DialogKind kind, const QString& title) {
  present(requestOf(kind, toQString(failure.text()), title));
}

std::optional<QString> MessagePresenter::askText(const MessageText& prompt, const QString& title,
                                                 const QString& proposal) {
  DialogRequest request = requestOf(DialogKind::TextInput, prompt.text(), title);
  request.proposal = proposal;
  const DialogReply reply = present(std::move(request));
  if (reply.answer == Answer::Cancel) return std::nullopt;
  return reply.text;
}

std::optional<QString> MessagePresenter::askFolder(const QString& title, const QString& start) {
  DialogRequest request = requestOf(DialogKind::Folder, {}, title);
  request.proposal = startFolder(start);
  const DialogReply reply = present(std::move(request));
  if (reply.answer == Answer::Cancel || reply.paths.isEmpty() || reply.paths.front().isEmpty()) {
    return std::nullopt;
  }
  return asFolder(reply.paths.front());
}

QStringList MessagePresenter::askFiles(const QString& title, const QString& start, const QString& filter) {
  DialogRequest request = requestOf(DialogKind::Files, {}, title);
  request.proposal = start;
  request.filter = filter;
  const DialogReply reply = present(std::move(request));
  if (reply.answer == Answer::Cancel) return {};
  return reply.paths;
}

std::optional<QString> MessagePresenter::askSaveFile(const QString& title, const QString& start,
                                                    const QString& proposedName, const QString& filter,
                                                    const QString& defaultSuffix) {
  DialogRequest request = requestOf(DialogKind::SaveFile, proposedName, title);
  request.proposal = startFolder(start);
  request.filter = filter;
  request.defaultSuffix = defaultSuffix;
  const DialogReply reply = present(std::move(request));
  if (reply.answer == Answer::Cancel || reply.paths.isEmpty() || reply.paths.front().isEmpty()) return std::nullopt;
  return reply.paths.front();
}

DialogReply MessagePresenter::present(DialogRequest request) {
  if (request.title.isEmpty()) request.title = defaultTitle_;
  return replier_ ? replier_(request) : showDialog(request);
}

DialogReply MessagePresenter::showDialog(const DialogRequest& request) {
  DialogReply reply;
  switch (request.kind) {
    case DialogKind::TextInput: {
      bool accepted = false;
      reply.text = QInputDialog::getText(parent_, request.title, withLineFeeds(request.text),
                                         QLineEdit::Normal, request.proposal, &accepted);
      reply.answer = accepted ? Answer::Ok : Answer::Cancel;
      return reply;
    }
    case DialogKind::Folder: {
      const QString folder = QFileDialog::getExistingDirectory(parent_, request.title, request.proposal);
      if (folder.isEmpty())
        reply.answer = Answer::Cancel;
      else
        reply.paths = QStringList{folder};
      return reply;
    }
    case DialogKind::SaveFile: {
      QFileDialog dialog(parent_, request.title, request.proposal, request.filter);
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setDefaultSuffix(request.defaultSuffix);
      if (!request.text.isEmpty()) dialog.selectFile(request.text);
      if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        reply.paths = QStringList{dialog.selectedFiles().front()};
      else
        reply.answer = Answer::Cancel;
      return reply;
    }
    case DialogKind::Files:
      reply.paths = QFileDialog::getOpenFileNames(parent_, request.title, request.proposal, request.filter);
      if (reply.paths.isEmpty()) reply.answer = Answer::Cancel;
      return reply;
    default: {
      QMessageBox box(boxIcon(request.kind), request.title, withLineFeeds(request.text), boxButtons(request),
                      parent_);
      reply.answer = answerOf(box.exec());
      return reply;
    }
  }
}

}  // namespace cq
