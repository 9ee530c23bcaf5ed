#include "sources/office/office_file_errors.h"

namespace cq {

namespace {

std::string quoted(const OfficeFile& file) { return "Die Datei \"" + file.name + "\""; }

}  // namespace

Failed notAnOfficeDocument(const OfficeFile& file) { return Failed(quoted(file) + " ist kein Office-Dokument."); }

Failed encryptedDocument(const OfficeFile& file) {
  return Failed(quoted(file) + " ist verschlüsselt; ihr Code kann ohne Kennwort nicht gelesen werden.");
}

Failed documentWithoutVbaProject(const OfficeFile& file) {
  return Failed(quoted(file) + " enthält kein VBA-Projekt.");
}

Failed damagedDocument(const OfficeFile& file, std::string_view detail) {
  if (file.endsEarly) return Failed(quoted(file) + " ist abgeschnitten.");
  return Failed(quoted(file) + " ist beschädigt: " + std::string(detail) + ".");
}

}  // namespace cq
