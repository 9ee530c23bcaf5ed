#pragma once
// The save dialog with its own notation for file types ("RTF-Dokument:RTF;").
#include <QString>
#include <optional>
#include <string_view>

namespace cq {

class MessagePresenter;

// Shows "Speichern unter" with the translated file types, starting in
// `initialFolder` (the home folder when empty) with `proposedName`. A malformed
// filter text is reported ("Bitte Filterart mit ; abschließen", "Doppelpunkt
// vergessen") and no dialog shown. The chosen path, nullopt when cancelled.
std::optional<QString> askSaveFileName(MessagePresenter& messages, std::string_view filterText,
                                       const QString& defaultExtension, const QString& initialFolder = {},
                                       const QString& proposedName = {});

}  // namespace cq
