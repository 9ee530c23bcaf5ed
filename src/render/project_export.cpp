#include "render/project_export.h"

#include "render/html.h"
#include "text/markers.h"
#include "render/rtf.h"

namespace cq {

namespace {

constexpr std::string_view kStarLine = "' **************************************************************";
constexpr std::string_view kNamePlaceholder = "xxxxx";
constexpr std::string_view kTypePlaceholder = "yyyyy";
constexpr std::string_view kBannerNameLine = "'  Modul:  xxxxx  yyyyy";
constexpr std::string_view kBlankLines = "\r\n\r\n";

// The text before a module: two empty lines, the banner, two empty lines.
std::string modulePrefix(const ExportModule& module, std::string_view typeLine) {
  std::string prefix(kBlankLines);
  prefix += moduleBanner(module.name, typeLine);
  prefix += kBlankLines;
  return prefix;
}

}  // namespace

std::string_view moduleTypeLine(ModuleType type) {
  switch (type) {
    case ModuleType::kForm: return "Typ = Userform";
    case ModuleType::kStandardModule: return "Typ = Allgemeines Modul";
    case ModuleType::kClassModule: return "Typ = Klassenmodul";
    case ModuleType::kDocumentModule: return "Typ = Element der Mappe(Sheet, Workbook, ...)";
    case ModuleType::kReport: return "Typ = Report";
    default: return "";
  }
}

std::string moduleBanner(std::string_view moduleName, std::string_view typeLine) {
  // Both placeholders are filled by position, so a name that happens to contain
  // the type placeholder stays as it is.
  const std::size_t namePos = kBannerNameLine.find(kNamePlaceholder);
  const std::size_t typePos = kBannerNameLine.find(kTypePlaceholder);
  std::string banner;
  banner += markers::kBold;
  banner += markers::kComment;
  banner += kStarLine;
  banner += "\r\n";
  banner += kBannerNameLine.substr(0, namePos);
  banner += moduleName;
  banner += kBannerNameLine.substr(namePos + kNamePlaceholder.size(), typePos - namePos - kNamePlaceholder.size());
  banner += typeLine;
  banner += kBannerNameLine.substr(typePos + kTypePlaceholder.size());
  banner += "\r\n";
  banner += kStarLine;
  banner += markers::kEnd;
  banner += markers::kBoldEnd;
  return banner;
}

std::string projectToHtml(const std::vector<ExportModule>& modules, const RenderOptions& options) {
  std::string html;
  for (const ExportModule& module : modules)
    html += markedToHtml(modulePrefix(module, moduleTypeLine(module.type)) + module.marked, options);
  return html;
}

std::string projectToRtf(const std::vector<ExportModule>& modules, const RenderOptions& options) {
  std::string body;
  for (const ExportModule& module : modules)
    body += markedToRtf(modulePrefix(module, moduleTypeLine(module.type)) + module.marked, options);
  return wrapRtfDocument(body, options);
}

}  // namespace cq
