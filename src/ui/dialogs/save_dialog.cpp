#include "ui/dialogs/save_dialog.h"

#include "app/text_boundary.h"
#include "ui/dialogs/file_filter.h"
#include "ui/message_presenter.h"

namespace cq {

std::optional<QString> askSaveFileName(MessagePresenter& messages, std::string_view filterText,
                                       const QString& defaultExtension, const QString& initialFolder,
                                       const QString& proposedName) {
  const Outcome<FileFilter> filter = translateFileFilter(filterText);
  if (!filter) {
    messages.plain(filter.failure().message);
    return std::nullopt;
  }
  return messages.askSaveFile(QStringLiteral("Speichern unter"), initialFolder, proposedName,
                              toQString(qtFileFilter(filter.value())), defaultExtension);
}

}  // namespace cq
