// The desktop program: start values, settings, the main window and its session.
#include <QApplication>

#include "app/app_state.h"
#include "app/display_settings.h"
#include "app/edition.h"
#include "app/settings_store.h"
#include "ui/main_window.h"
#include "ui/qt_texts.h"
#include "ui/session/session.h"
#include "ui/start_arguments.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The window speaks German, so Qt's own buttons and menus do too.
  cq::installGermanQtTexts(application);
  const cq::Edition& edition = cq::builtInEdition();
  cq::SettingsStore settings(edition);
  cq::AppState state = cq::startAppState(edition, settings);
  // Loaded before the window is built, so its views start with the user's options.
  cq::loadDisplaySettings(settings, state.display);

  const cq::StartArguments arguments = cq::parseStartArguments(application.arguments().mid(1));
  cq::MainWindow window(state, settings);
  window.setStartDocuments(arguments.documents);
  cq::Session session(window, state, settings);
  session.start(window.startDocuments(), arguments.compactWindow);
  return application.exec();
}
