#include "sources/document_loader.h"

#include <array>
#include <string_view>
#include <system_error>

#include "text/ascii_case.h"
#include "sources/module_folder_document.h"
#include "sources/access/access_document.h"
#include "sources/office/office_document.h"
#include "text/path_text.h"
#include "sources/vbp_document.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

struct DocumentKind {
  std::string_view extension;  // with the dot, compared ignoring case
  LoadedProject (*load)(const fs::path&, int moduleFileCodePage);
};

// Office and Access documents name their code page themselves.
LoadedProject loadOffice(const fs::path& document, int) { return loadOfficeDocument(document); }
LoadedProject loadAccess(const fs::path& document, int) { return loadAccessDatabase(document); }

constexpr std::array<DocumentKind, 30> kDocumentKinds = {{
    {".vbp", loadVbpProject},
    {".bas", loadSingleModuleFile},
    {".cls", loadSingleModuleFile},
    {".frm", loadSingleModuleFile},
    {".xlsm", loadOffice},
    {".xlsb", loadOffice},
    {".xlam", loadOffice},
    {".xltm", loadOffice},
    {".docm", loadOffice},
    {".dotm", loadOffice},
    {".pptm", loadOffice},
    {".potm", loadOffice},
    {".ppam", loadOffice},
    {".xlsx", loadOffice},
    {".docx", loadOffice},
    {".pptx", loadOffice},
    {".xls", loadOffice},
    {".xla", loadOffice},
    {".xlt", loadOffice},
    {".doc", loadOffice},
    {".dot", loadOffice},
    {".ppt", loadOffice},
    {".pps", loadOffice},
    {".pot", loadOffice},
    {".bin", loadOffice},
    {".mdb", loadAccess},
    {".accdb", loadAccess},
    {".accda", loadAccess},
    {".mde", loadAccess},
    {".accde", loadAccess},
}};

LoadedProject loadByKind(const fs::path& document, int moduleFileCodePage) {
  std::error_code error;
  if (fs::is_directory(document, error)) return loadModuleFolder(document, moduleFileCodePage);
  if (!fs::exists(document, error)) {
    throw Failed("Die Datei \"" + pathToText(document) + "\" wurde nicht gefunden.");
  }
  const std::string extension = document.extension().native();
  for (const DocumentKind& kind : kDocumentKinds) {
    if (equalsIgnoringAsciiCase(extension, kind.extension)) return kind.load(document, moduleFileCodePage);
  }
  throw Failed("Die Datei \"" + pathToText(document) + "\" ist kein Dokument, dessen Code gelesen werden kann.");
}

// The reason on one line, as the host tree's node shows it.
std::string reasonOf(const Failure& failure) {
  return failure.cause.empty() ? failure.message : failure.message + " (" + failure.cause + ")";
}

}  // namespace

LoadedProject loadDocument(const fs::path& document, int moduleFileCodePage) {
  const auto unreadable = [&](std::string reason) {
    std::error_code error;
    const fs::path name = fs::is_directory(document, error) ? document.filename() : document.stem();
    return LoadedProject::unreadable(pathToText(document), pathToText(name), std::move(reason));
  };
  try {
    return loadByKind(document, moduleFileCodePage);
  } catch (const Failed& failed) {
    return unreadable(reasonOf(failed.failure()));
  } catch (const std::exception& error) {
    return unreadable("Das Dokument \"" + pathToText(document) + "\" konnte nicht gelesen werden: " +
                      systemText(error.what()));
  }
}

}  // namespace cq
