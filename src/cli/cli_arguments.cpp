#include "cli/cli_arguments.h"

#include <charconv>
#include <set>

#include "app/display_settings.h"
#include "sources/vba/code_page.h"
#include "text/path_text.h"

namespace cq::cli {

const char* const kUsage =
    "Aufruf:\n"
    "  codequorix-cli list QUELLE... [--json]\n"
    "  codequorix-cli read QUELLE... PROJEKTORDNER [--project N]\n"
    "  codequorix-cli export QUELLE... ORDNER [--project N]\n"
    "  codequorix-cli html PROJEKTORDNER [--module N] [--page] [-o DATEI]\n"
    "  codequorix-cli rtf PROJEKTORDNER [--module N] [-o DATEI]\n"
    "  codequorix-cli text PROJEKTORDNER --module N [--crlf]\n"
    "  codequorix-cli markup [--html] < DATEI\n"
    "  codequorix-cli search PROJEKTORDNER TEXT [--word] [--module N] [--json]\n"
    "  codequorix-cli callers PROJEKTORDNER ROUTINE [--module N] [--depth N] [--json]\n"
    "  codequorix-cli callees PROJEKTORDNER ROUTINE [--module N] [--depth N] [--json]\n"
    "  codequorix-cli definition PROJEKTORDNER NAME [--module N]\n"
    "  codequorix-cli unused PROJEKTORDNER [--json]\n"
    "  codequorix-cli textconv DOKUMENT\n"
    "  codequorix-cli diff ALT NEU [--json]\n"
    "  codequorix-cli --help | -h\n"
    "  codequorix-cli --version\n"
    "QUELLE: ein Ordner mit Moduldateien, eine Moduldatei, eine .vbp-Datei oder ein Office-Dokument.\n"
    "--project N: der Projektknoten mit dem Schlüssel \"AN\\\" (Standard: der erste).\n"
    "--module N bei callers, callees und definition: das aktuelle Modul (Standard: 1).\n"
    "--depth N bei callers und callees: so viele Ebenen des Aufrufbaums (Standard: 1).\n"
    "--page bei html: die Vorschauseite, wie das Fenster sie schreibt (UTF-8).\n"
    "-o DATEI: in die Datei schreiben statt auf die Standardausgabe.\n"
    "--crlf bei text: Zeilenenden CR LF statt LF.\n"
    "--word bei search: nur Treffer ohne Buchstabe, Ziffer oder \"_\" direkt davor oder danach.\n"
    "--json bei list, search, callers, callees, unused und diff: ein JSON-Dokument (UTF-8) statt Zeilen mit Tabulatoren.\n"
    "textconv: der Code aller Module als Text für git diff. diff: ALT und NEU sind Quellen oder Projektordner;\n"
    "  Rückgabewerte 0 gleich, 1 verschieden, 2 Fehler.\n"
    "Gemeinsame Optionen: --option SCHLÜSSEL=WERT (Einstellung, ersetzt den gespeicherten Wert),\n"
    "  --no-settings (nur Standardwerte),\n"
    "  --encoding NAME (Zeichensatz der Moduldateien: auto, eine Codepage wie 932 oder cp1251,\n"
    "  windows-1250, shift_jis, utf-8; Standard: auto, für die Dateien eines Projekts gemeinsam erkannt).\n"
    "--: Ende der Optionen; was folgt, ist Argument (ein Suchtext darf mit \"-\" beginnen).\n"
    "Rückgabewerte: 0 erledigt, 1 Fehler (Meldung auf stderr), 2 falscher Aufruf,\n"
    "  3 bei list: mindestens eine Quelle war nicht lesbar (mit dem Grund in der Liste und auf stderr).\n";

namespace {

std::optional<int> positiveNumber(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

struct CommandShape {
  std::size_t minPositional;
  std::size_t maxPositional;
  std::set<std::string> flags;
};

const CommandShape* shapeOf(const std::string& command) {
  static const std::pair<std::string, CommandShape> shapes[] = {
      {"list", {1, SIZE_MAX, {"--json"}}},
      {"read", {2, SIZE_MAX, {"--project"}}},
      {"export", {2, SIZE_MAX, {"--project"}}},
      {"html", {1, 1, {"--module", "--page", "-o"}}},
      {"rtf", {1, 1, {"--module", "-o"}}},
      {"text", {1, 1, {"--module", "--crlf"}}},
      {"markup", {0, 0, {"--html"}}},
      {"search", {2, 2, {"--word", "--module", "--json"}}},
      {"callers", {2, 2, {"--module", "--depth", "--json"}}},
      {"callees", {2, 2, {"--module", "--depth", "--json"}}},
      {"definition", {2, 2, {"--module"}}},
      {"unused", {1, 1, {"--json"}}},
      {"textconv", {1, 1, {}}},
      {"diff", {2, 2, {"--json"}}},
  };
  for (const auto& [name, shape] : shapes)
    if (name == command) return &shape;
  return nullptr;
}

}  // namespace

std::optional<Arguments> parseArguments(int argc, char** argv, std::string& error) {
  if (argc < 2) {
    error = "Kein Befehl angegeben.";
    return std::nullopt;
  }
  Arguments args;
  // Asking for help or the version wins over everything else on the line.
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      args.command = arg == "--version" ? "--version" : "--help";
      return args;
    }
  }
  args.command = argv[1];
  const CommandShape* shape = shapeOf(args.command);
  if (!shape) {
    error = "Unbekannter Befehl: " + systemText(args.command);
    return std::nullopt;
  }
  bool optionsEnded = false;  // after "--" every argument is positional, "-x" included
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded) {
      args.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const bool takesValue =
        arg == "--project" || arg == "--module" || arg == "--depth" || arg == "-o" || arg == "--option" ||
        arg == "--encoding";
    if (takesValue && i + 1 >= argc) {
      error = "Zu " + systemText(arg) + " fehlt der Wert.";
      return std::nullopt;
    }
    if (arg == "--no-settings") {
      args.noSettings = true;
    } else if (arg == "--option") {
      const std::string pair = argv[++i];
      const std::size_t eq = pair.find('=');
      if (eq == std::string::npos || eq == 0) {
        error = "--option erwartet SCHLÜSSEL=WERT: " + systemText(pair);
        return std::nullopt;
      }
      const std::string key = pair.substr(0, eq);
      const std::string value = pair.substr(eq + 1);
      switch (optionValueFit(key, value)) {
        case OptionValueFit::kUnknownKey:
          error = "Unbekannte Einstellung bei --option: " + systemText(key) + ".";
          return std::nullopt;
        case OptionValueFit::kNotANumber:
          error = "Die Einstellung " + systemText(key) + " erwartet eine ganze Zahl: " + systemText(value) + ".";
          return std::nullopt;
        case OptionValueFit::kFits:
          break;
      }
      args.options.emplace_back(key, value);
    } else if (arg == "--encoding") {
      // The setting the options dialog writes, as if given with --option.
      const std::string name = argv[++i];
      const std::optional<int> codePage = codePageOfName(name);
      if (!codePage) {
        error = "Unbekannter Zeichensatz: " + systemText(name) + ".";
        return std::nullopt;
      }
      args.options.emplace_back(kModuleFileCodePageKey, std::to_string(*codePage));
    } else if (arg.size() > 1 && arg[0] == '-') {
      if (!shape->flags.contains(arg)) {
        error = "Die Option " + systemText(arg) + " passt nicht zum Befehl " + args.command + ".";
        return std::nullopt;
      }
      if (arg == "--html") {
        args.html = true;
      } else if (arg == "--page") {
        args.page = true;
      } else if (arg == "--word") {
        args.word = true;
      } else if (arg == "--crlf") {
        args.crlf = true;
      } else if (arg == "--json") {
        args.json = true;
      } else if (arg == "-o") {
        args.output = argv[++i];
      } else {
        const auto number = positiveNumber(argv[++i]);
        if (!number) {
          error = systemText(arg) + " erwartet eine positive Zahl.";
          return std::nullopt;
        }
        (arg == "--project" ? args.project : arg == "--depth" ? args.depth : args.module) = number;
      }
    } else {
      args.positional.push_back(arg);
    }
  }
  if (args.positional.size() < shape->minPositional || args.positional.size() > shape->maxPositional) {
    error = "Falsche Anzahl von Argumenten für " + args.command + ".";
    return std::nullopt;
  }
  if (args.command == "text" && !args.module) {
    error = "text braucht --module N.";
    return std::nullopt;
  }
  return args;
}

}  // namespace cq::cli
