#pragma once
// The program's command line: "/a" (any case) alone starts the compact
// clipboard window; every other argument is a document to open. "--help" and
// "--version" print and end, an unknown option is refused; "--" makes every
// later argument a document. Qt's own options (-style, -platform, …) are left
// to Qt.
#include <QString>
#include <QStringList>

namespace cq {

enum class StartRequest { kWindow, kHelp, kVersion, kUnknownOption };

struct StartArguments {
  // The first of help, version and an unknown option decides; kWindow when none is given.
  StartRequest request = StartRequest::kWindow;
  bool compactWindow = false;
  QStringList documents;
  QString unknownOption;  // the first option the program does not know, empty when none
};

// `arguments` without the program's own name, as the system passed them: read
// before Qt starts, so that help, version and a refusal need no display.
StartArguments parseStartArguments(const QStringList& arguments);
// The arguments of main() after the program's name, decoded as file names.
QStringList commandLineArguments(int argc, const char* const* argv);

// The German usage text of "codequorix --help".
QString startUsage();
// "codequorix <version>", then the database template and the manual in use.
QString startVersionText();
// The message for an unknown option, pointing to --help.
QString unknownOptionMessage(const QString& option);

}  // namespace cq
