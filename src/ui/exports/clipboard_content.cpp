#include "ui/exports/clipboard_content.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/text_boundary.h"
#include "render/html.h"
#include "render/rtf.h"

namespace cq {

namespace {

// Text pasted on this platform has LF line ends.
QString clipboardText(std::string_view text) {
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// Replaces whatever the clipboard held.
void putOnClipboard(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }

}  // namespace

void putPlainTextOnClipboard(std::string_view text) {
  auto* data = new QMimeData;
  data->setText(clipboardText(text));
  putOnClipboard(data);
}

void putHtmlFragmentOnClipboard(std::string_view fragment) {
  auto* data = new QMimeData;
  const QString text = clipboardText(fragment);
  data->setText(text);
  data->setHtml(text);
  putOnClipboard(data);
}

void putRichTextOnClipboard(const StyledText& styled, const RenderOptions& options) {
  auto* data = new QMimeData;
  // The RTF document is in the project's code page, as its header declares.
  const std::string rtf = wrapRtfDocument(styledToRtf(styled, options.codePage), options);
  data->setData(QStringLiteral("text/rtf"), QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
  data->setHtml(clipboardText(styledToHtml(styled, options)));
  data->setText(clipboardText(styled.text));
  putOnClipboard(data);
}

void clearClipboard() { QGuiApplication::clipboard()->clear(); }

}  // namespace cq
