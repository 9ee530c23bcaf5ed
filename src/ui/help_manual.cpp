#include "ui/help_manual.h"

#include <system_error>

#include "app/text_boundary.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace fs = std::filesystem;

std::optional<fs::path> findHelpManual(const fs::path& programFolder, const fs::path& installedDataFolder) {
  for (const fs::path& folder : {programFolder, installedDataFolder}) {
    if (folder.empty()) continue;
    const fs::path manual = folder / kHelpManualFileName;
    std::error_code error;
    if (fs::is_regular_file(manual, error)) return manual;
  }
  return std::nullopt;
}

QString missingHelpManualMessage(std::string_view editionAbbreviation, const fs::path& programFolder) {
  QString folder = pathToQString(programFolder);
  if (!folder.endsWith(u'/')) folder += u'/';
  const QString abbreviation = toQString(editionAbbreviation);
  const QString lineBreak = QStringLiteral("\r\n");
  return QStringLiteral("Die Hilfsdatei:") + lineBreak + QLatin1StringView(kHelpManualFileName) + lineBreak +
         QStringLiteral("konnte nicht gefunden werden. ") + lineBreak +
         QStringLiteral("Diese muss im selben Verzeichnis wie") + abbreviation +
         QStringLiteral("_ZT.exe installiert werden.") + lineBreak +
         QStringLiteral("Bitte kopieren Sie also ") + abbreviation + QStringLiteral(".chm nach:") +
         lineBreak + folder;
}

QString unopenedHelpManualMessage(const fs::path& manual) {
  return u"Das Handbuch\r\n"_s + pathToQString(manual) +
         u"\r\nkonnte nicht ge\u00F6ffnet werden: Der Desktop hat kein Programm zum Anzeigen von HTML-Seiten "
         u"gestartet.\r\nBitte \u00F6ffnen Sie die Datei mit einem Web-Browser."_s;
}

}  // namespace cq
