#include "sources/office/office_file_errors.h"

namespace cq {

namespace {

std::string quoted(const OfficeFile& file) { return "Die Datei \"" + file.name + "\""; }

}  // namespace

HostError notAnOfficeDocument(const OfficeFile& file) { return HostError(quoted(file) + " ist kein Office-Dokument."); }

HostError encryptedDocument(const OfficeFile& file) {
  return HostError(quoted(file) + " ist verschl\xFCsselt; ihr Code kann ohne Kennwort nicht gelesen werden.");
}

HostError documentWithoutVbaProject(const OfficeFile& file) {
  return HostError(quoted(file) + " enth\xE4lt kein VBA-Projekt.");
}

HostError damagedDocument(const OfficeFile& file, std::string_view detail) {
  if (file.endsEarly) return HostError(quoted(file) + " ist abgeschnitten.");
  return HostError(quoted(file) + " ist besch\xE4" "digt: " + std::string(detail) + ".");
}

}  // namespace cq
