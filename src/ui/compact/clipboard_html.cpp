#include "ui/compact/clipboard_html.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <exception>

#include "app/display_settings.h"
#include "app/text_boundary.h"
#include "render/html.h"
#include "render/markup.h"
#include "text/path_text.h"
#include "ui/message_presenter.h"
#include "ui/status_bar.h"

namespace cq {

using namespace Qt::StringLiterals;

void convertClipboardToHtml(const DisplaySettings& display, MessagePresenter& messages, StatusBar& status) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QString code = clipboard->text();
  if (code.isEmpty()) {
    messages.information(u"Kein Text in der Zwischenablage"_s);
  } else {
    try {
      const QString fragment =
          toQString(markedToHtml(markUpSelection(toEngineText(code), display.markup), display.render));
      auto* data = new QMimeData;
      data->setText(fragment);
      data->setHtml(fragment);
      clipboard->setMimeData(data);
    } catch (const std::exception& error) {
      messages.plain(systemText(error.what()));
    }
  }
  status.setText(StatusBar::kProgressPanel, {});
}

}  // namespace cq
