#include "ui/start_arguments.h"

#include <string_view>

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

}  // namespace

StartRequest startRequest(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return StartRequest::kHelp;
    if (arg == "--version") return StartRequest::kVersion;
  }
  return StartRequest::kWindow;
}

StartArguments parseStartArguments(const QStringList& arguments) {
  StartArguments parsed;
  // The switch counts only when it is the whole command line.
  parsed.compactWindow = isCompactSwitch(arguments.join(u' '));
  bool optionsEnded = false;
  for (const QString& argument : arguments) {
    if (!optionsEnded && argument == u"--"_s) {
      optionsEnded = true;
    } else if (!optionsEnded && isOption(argument)) {
      if (parsed.unknownOption.isEmpty()) parsed.unknownOption = argument;
    } else if (optionsEnded || !isCompactSwitch(argument)) {
      parsed.documents.push_back(argument);
    }
  }
  return parsed;
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
         u"/a allein: das kompakte Fenster (zurzeit das Hauptfenster).\n"
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
