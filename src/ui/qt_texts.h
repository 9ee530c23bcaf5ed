#pragma once
// Qt's own texts (standard dialog buttons, file dialogs, context menus of the
// edit fields) in German, like the rest of the window.
class QCoreApplication;

namespace cq {

// Installs Qt's German translation ("qtbase_de" from Qt's translations folder)
// into `application`, which keeps it. False when it is not installed on this
// system: Qt's texts then stay English.
bool installGermanQtTexts(QCoreApplication& application);

}  // namespace cq
