// The desktop program: start values, settings, the main window and its session.
#include <QApplication>
#include <cstdio>

#include "app/app_state.h"
#include "app/display_settings.h"
#include "app/edition.h"
#include "app/settings_store.h"
#include "ui/main_window.h"
#include "ui/qt_texts.h"
#include "ui/session/session.h"
#include "ui/start_arguments.h"

namespace {

int print(std::FILE* stream, const QString& text, int exitCode) {
  std::fputs(text.toUtf8().constData(), stream);
  return exitCode;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before Qt starts, which needs a display.
  const cq::StartArguments arguments = cq::parseStartArguments(cq::commandLineArguments(argc, argv));
  switch (arguments.request) {
    case cq::StartRequest::kHelp: return print(stdout, cq::startUsage(), 0);
    case cq::StartRequest::kVersion: return print(stdout, cq::startVersionText(), 0);
    case cq::StartRequest::kUnknownOption: return print(stderr, cq::unknownOptionMessage(arguments.unknownOption), 2);
    case cq::StartRequest::kWindow: break;
  }
  QApplication application(argc, argv);
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.codequorix.CodeQuorix"));
  // The window speaks German, so Qt's own buttons and menus do too.
  cq::installGermanQtTexts(application);
  const cq::Edition& edition = cq::builtInEdition();
  cq::SettingsStore settings(edition);
  cq::AppState state = cq::startAppState(edition, settings);
  // Loaded before the window is built, so its views start with the user's options.
  cq::loadDisplaySettings(settings, state.display);

  cq::MainWindow window(state, settings);
  window.setStartDocuments(arguments.documents);
  cq::Session session(window, state, settings);
  session.start(window.startDocuments(), arguments.compactWindow);
  return application.exec();
}
