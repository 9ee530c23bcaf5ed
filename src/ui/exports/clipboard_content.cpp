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
QString clipboardText(std::string_view windows1252) {
  QString text = toQString(windows1252);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// Replaces whatever the clipboard held.
void putOnClipboard(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }

}  // namespace

void putPlainTextOnClipboard(std::string_view windows1252) {
  auto* data = new QMimeData;
  data->setText(clipboardText(windows1252));
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
  // The RTF document is Windows-1252, as its header declares.
  const std::string rtf = wrapRtfDocument(styledToRtf(styled), options);
  data->setData(QStringLiteral("text/rtf"), QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
  data->setHtml(clipboardText(styledToHtml(styled, options)));
  data->setText(clipboardText(styled.text));
  putOnClipboard(data);
}

void clearClipboard() { QGuiApplication::clipboard()->clear(); }

}  // namespace cq
