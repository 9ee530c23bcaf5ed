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
  LoadedProject (*load)(const fs::path&);
};

constexpr std::array<DocumentKind, 30> kDocumentKinds = {{
    {".vbp", loadVbpProject},
    {".bas", loadSingleModuleFile},
    {".cls", loadSingleModuleFile},
    {".frm", loadSingleModuleFile},
    {".xlsm", loadOfficeDocument},
    {".xlsb", loadOfficeDocument},
    {".xlam", loadOfficeDocument},
    {".xltm", loadOfficeDocument},
    {".docm", loadOfficeDocument},
    {".dotm", loadOfficeDocument},
    {".pptm", loadOfficeDocument},
    {".potm", loadOfficeDocument},
    {".ppam", loadOfficeDocument},
    {".xlsx", loadOfficeDocument},
    {".docx", loadOfficeDocument},
    {".pptx", loadOfficeDocument},
    {".xls", loadOfficeDocument},
    {".xla", loadOfficeDocument},
    {".xlt", loadOfficeDocument},
    {".doc", loadOfficeDocument},
    {".dot", loadOfficeDocument},
    {".ppt", loadOfficeDocument},
    {".pps", loadOfficeDocument},
    {".pot", loadOfficeDocument},
    {".bin", loadOfficeDocument},
    {".mdb", loadAccessDatabase},
    {".accdb", loadAccessDatabase},
    {".accda", loadAccessDatabase},
    {".mde", loadAccessDatabase},
    {".accde", loadAccessDatabase},
}};

LoadedProject loadByKind(const fs::path& document) {
  std::error_code error;
  if (fs::is_directory(document, error)) return loadModuleFolder(document);
  if (!fs::exists(document, error)) {
    throw Failed("Die Datei \"" + pathToText(document) + "\" wurde nicht gefunden.");
  }
  const std::string extension = document.extension().native();
  for (const DocumentKind& kind : kDocumentKinds) {
    if (equalsIgnoringAsciiCase(extension, kind.extension)) return kind.load(document);
  }
  throw Failed("Die Datei \"" + pathToText(document) + "\" ist kein Dokument, dessen Code gelesen werden kann.");
}

// The reason on one line, as the host tree's node shows it.
std::string reasonOf(const Failure& failure) {
  return failure.cause.empty() ? failure.message : failure.message + " (" + failure.cause + ")";
}

}  // namespace

LoadedProject loadDocument(const fs::path& document) {
  const auto unreadable = [&](std::string reason) {
    std::error_code error;
    const fs::path name = fs::is_directory(document, error) ? document.filename() : document.stem();
    return LoadedProject::unreadable(pathToText(document), pathToText(name), std::move(reason));
  };
  try {
    return loadByKind(document);
  } catch (const Failed& failed) {
    return unreadable(reasonOf(failed.failure()));
  } catch (const std::exception& error) {
    return unreadable("Das Dokument \"" + pathToText(document) + "\" konnte nicht gelesen werden: " +
                      systemText(error.what()));
  }
}

}  // namespace cq
