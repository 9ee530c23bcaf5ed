#pragma once
// The program's command line: "/a" (any case) alone starts the compact
// clipboard window; every other argument is a document to open. "--help" and
// "--version" print and end; "--" makes every later argument a document.
#include <QString>
#include <QStringList>

namespace cq {

enum class StartRequest { kWindow, kHelp, kVersion };

// Looks at the raw command line before Qt starts, so that help and version
// work without a display.
StartRequest startRequest(int argc, const char* const* argv);

struct StartArguments {
  bool compactWindow = false;
  QStringList documents;
  QString unknownOption;  // the first option the program does not know, empty when none
};

// `arguments` without the program's own name, after Qt took its own options.
StartArguments parseStartArguments(const QStringList& arguments);

// The German usage text of "codequorix --help".
QString startUsage();
// "codequorix <version>", then the database template and the manual in use.
QString startVersionText();
// The message for an unknown option, pointing to --help.
QString unknownOptionMessage(const QString& option);

}  // namespace cq
