#include "ui/start_arguments.h"

#include "app/app_state.h"
#include "app/text_boundary.h"
#include "ui/help_manual.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

bool isCompactSwitch(const QString& text) {
  return text.compare(QStringLiteral("/a"), Qt::CaseInsensitive) == 0;
}

bool isOption(const QString& text) { return text.size() > 1 && text.startsWith(u'-'); }

enum class QtOption { kNone, kFlag, kWithValue };

// Qt's own options, which Qt takes from the command line when it starts: with
// one or two dashes, a value after "=" or as the next argument.
QtOption qtOptionOf(QString option) {
  static const QStringList kWithValue{u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
                                      u"qmljsdebugger"_s, u"qwindowgeometry"_s, u"geometry"_s, u"qwindowicon"_s,
                                      u"icon"_s, u"qwindowtitle"_s, u"title"_s, u"session"_s, u"style"_s,
                                      u"stylesheet"_s, u"display"_s, u"name"_s};
  static const QStringList kFlags{u"reverse"_s, u"widgetcount"_s, u"testability"_s, u"nograb"_s, u"dograb"_s,
                                  u"sync"_s};
  option.remove(0, option.startsWith(u"--"_s) ? 2 : 1);
  const qsizetype equals = option.indexOf(u'=');
  if (equals >= 0) return kWithValue.contains(option.left(equals)) ? QtOption::kFlag : QtOption::kNone;
  if (kWithValue.contains(option)) return QtOption::kWithValue;
  return kFlags.contains(option) ? QtOption::kFlag : QtOption::kNone;
}

}  // namespace

StartArguments parseStartArguments(const QStringList& arguments) {
  StartArguments parsed;
  QStringList own;  // the arguments without Qt's options
  bool optionsEnded = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const QtOption qtOption = optionsEnded ? QtOption::kNone : qtOptionOf(argument);
    if (optionsEnded || !isOption(argument)) {
      own.push_back(argument);
      if (optionsEnded || !isCompactSwitch(argument)) parsed.documents.push_back(argument);
    } else if (argument == u"--"_s) {
      optionsEnded = true;
      own.push_back(argument);
    } else if (qtOption != QtOption::kNone) {
      if (qtOption == QtOption::kWithValue) ++i;
    } else {
      own.push_back(argument);
      const StartRequest request = argument == u"--help"_s || argument == u"-h"_s ? StartRequest::kHelp
                                   : argument == u"--version"_s                 ? StartRequest::kVersion
                                                                                : StartRequest::kUnknownOption;
      if (parsed.request != StartRequest::kWindow) continue;
      parsed.request = request;
      if (request == StartRequest::kUnknownOption) parsed.unknownOption = argument;
    }
  }
  // The switch counts only when it is the whole command line.
  parsed.compactWindow = isCompactSwitch(own.join(u' '));
  return parsed;
}

QStringList commandLineArguments(int argc, const char* const* argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(pathToQString(std::filesystem::path(argv[i])));
  return arguments;
}

QString startUsage() {
  return u"Aufruf:\n"
         u"  codequorix [DOKUMENT...]\n"
         u"  codequorix /a\n"
         u"  codequorix --help | -h\n"
         u"  codequorix --version\n"
         u"DOKUMENT: ein Office-Dokument (xlsm, xlsb, xlam, xltm, docm, dotm, pptm, potm, ppam, xls, xla,\n"
         u"  doc, dot, ppt), eine Access-Datenbank (mdb, accdb, accda), eine .vbp-Datei, eine Moduldatei\n"
         u"  (.bas, .cls, .frm) oder ein Ordner mit Moduldateien; jedes wird ein Projekt im Baum der\n"
         u"  Anwendung.\n"
         u"/a allein: das kompakte Fenster, das Code aus der Zwischenablage nach HTML bringt.\n"
         u"--: alle folgenden Argumente sind Dokumente, auch wenn sie mit \"-\" beginnen.\n"
         u"--version: die Version und die gefundene Datenbankvorlage und das Handbuch.\n"
         u"R\u00FCckgabewerte: 0 beendet, 2 falscher Aufruf.\n"_s;
}

QString startVersionText() {
  const std::filesystem::path folder = programFolder();
  const auto manual = findHelpManual(folder, installedDataFolder(folder));
  return systemTextToQString(versionReport("codequorix", folder)) + u"Handbuch: "_s +
         (manual ? pathToQString(*manual) : u"nicht gefunden"_s) + u'\n';
}

QString unknownOptionMessage(const QString& option) {
  return u"Unbekannte Option: "_s + option + u"\nEine \u00DCbersicht zeigt: codequorix --help\n"_s;
}

}  // namespace cq
