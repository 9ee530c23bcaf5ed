#include "sources/office/office_document.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "sources/office/content_types.h"
#include "sources/office/gsf_handles.h"
#include "sources/office/gsf_tree.h"
#include "sources/office/office_file_errors.h"
#include "sources/office/ole_vba_storage.h"
#include "sources/office/package_callers.h"
#include "sources/office/powerpoint_records.h"
#include "sources/office/workbook_callers.h"
#include "text/path_text.h"
#include "text/text_decoding.h"
#include "sources/vba/vba_project_reader.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kZipSignature = "PK\x03\x04";
constexpr std::string_view kOleSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kZipDirectoryEndSignature = "PK\x05\x06";
// The end record of a ZIP directory sits within its last 22 bytes plus a comment
// of at most 65535 bytes.
constexpr gsf_off_t kZipDirectoryEndSearchBytes = 22 + 65535;
constexpr std::int64_t kMaxContentTypesBytes = 16 * 1024 * 1024;
constexpr std::size_t kMaxPackageParts = 100000;
constexpr std::size_t kMaxEmbeddedBytes = 256 * 1024 * 1024;
constexpr gsf_off_t kOleHeaderBytes = 512;
constexpr gsf_off_t kOleSectorShiftOffset = 0x1E;

// Streams that show an OLE2 file to be a workbook or a Word document, so that
// without a VBA storage it simply has no macros.
constexpr std::array<std::string_view, 3> kDocumentStreams = {"Workbook", "Book", "WordDocument"};
// Where workbooks and Word documents keep their VBA project.
constexpr std::array<std::string_view, 2> kVbaProjectStorages = {"_VBA_PROJECT_CUR", "Macros"};
constexpr std::string_view kPresentationStream = "PowerPoint Document";

// `count` bytes of `input` from `offset`, fewer where the input ends.
std::string bytesAt(GsfInput* input, gsf_off_t offset, gsf_off_t count) {
  const gsf_off_t size = gsf_input_size(input);
  if (offset < 0 || offset >= size || gsf_input_seek(input, offset, G_SEEK_SET)) return {};
  const gsf_off_t available = std::min(count, size - offset);
  const guint8* data = gsf_input_read(input, static_cast<size_t>(available), nullptr);
  if (data == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(available));
}

bool hasZipDirectoryEnd(GsfInput* input) {
  const gsf_off_t size = gsf_input_size(input);
  const gsf_off_t start = std::max<gsf_off_t>(0, size - kZipDirectoryEndSearchBytes);
  return bytesAt(input, start, size - start).find(kZipDirectoryEndSignature) != std::string::npos;
}

// An OLE2 file is made of whole sectors after its header; a length that is no
// multiple of the sector size means that the end is missing.
bool oleFileEndsEarly(GsfInput* input) {
  const gsf_off_t size = gsf_input_size(input);
  if (size < kOleHeaderBytes) return true;
  const std::string shift = bytesAt(input, kOleSectorShiftOffset, 2);
  const gsf_off_t sectorBytes = shift.size() == 2 && shift[0] == 12 && shift[1] == 0 ? 4096 : 512;
  return size % sectorBytes != 0;
}

bool hasStream(GsfInfile* storage, std::string_view name, const OfficeFile& file) {
  const GsfInputHandle entry = entryAtPath(storage, name, file);
  return entry && !isStorage(entry.get());
}

LoadedProject projectWithoutMacros(const fs::path& document, const OfficeFile& file) {
  return LoadedProject(file.name, pathToText(document.stem()));
}

LoadedProject readProject(GsfInfileHandle projectStorage, const OfficeFile& file) {
  const OleVbaStorage storage(std::move(projectStorage), file);
  try {
    return readVbaProject(storage, file.name, file.codeBudget);
  } catch (const Failed&) {
    // Whatever of the project is missing or garbled went with the file's end.
    if (file.endsEarly) throw damagedDocument(file, {});
    throw;
  }
}

LoadedProject loadPackage(GsfInput* input, const fs::path& document, OfficeFile file) {
  file.endsEarly = !hasZipDirectoryEnd(input);
  GErrorHandle error;
  const GsfInfileHandle package(gsf_infile_zip_new(input, GErrorSlot(error)));
  if (!package) throw damagedDocument(file, "das ZIP-Paket kann nicht gelesen werden");
  const GsfInputHandle contentTypes = entryAtPath(package.get(), "[Content_Types].xml", file);
  if (!contentTypes || isStorage(contentTypes.get())) throw notAnOfficeDocument(file);
  const std::string xml = readWholeStream(contentTypes.get(), "[Content_Types].xml", file, kMaxContentTypesBytes);
  const std::optional<std::vector<std::string>> parts =
      vbaProjectParts(xml, streamPaths(package.get(), kMaxPackageParts));
  if (!parts) throw damagedDocument(file, "die Liste der Inhaltstypen ist fehlerhaft");
  for (const std::string& part : *parts) {
    const GsfInputHandle entry = entryAtPath(package.get(), part, file);
    if (!entry || isStorage(entry.get())) continue;
    const std::string& partName = part;
    const std::string bytes = readWholeStream(entry.get(), partName, file);
    LoadedProject project = readProject(openOleBytes(bytes, "das VBA-Projekt \"" + partName + "\"", file), file);
    project.addDocumentCallers(packageCallers(package.get(), file));
    return project;
  }
  return projectWithoutMacros(document, file);
}

// A presentation keeps its VBA storage as an OLE2 file, mostly compressed, in an
// embedded-object record; other embedded objects may sit beside it.
LoadedProject loadPresentation(GsfInfile* root, const fs::path& document, const OfficeFile& file) {
  const GsfInputHandle documentStream = entryAtPath(root, kPresentationStream, file);
  const std::string records = readWholeStream(documentStream.get(), kPresentationStream, file);
  std::size_t budget = kMaxEmbeddedBytes;
  std::optional<Failed> firstDamage;
  for (const EmbeddedStorageRecord& record : embeddedStorageRecords(records)) {
    std::optional<OleVbaStorage> storage;
    try {
      storage.emplace(openOleBytes(embeddedStorageBytes(record, budget, file), "ein eingebettetes Objekt", file), file);
      if (!storage->holdsVbaProject()) continue;
    } catch (const Failed& damage) {
      // A damaged object may be the one holding the project; that is only
      // reported when no other object holds it.
      if (!firstDamage) firstDamage = damage;
      continue;
    }
    return readVbaProject(*storage, file.name, file.codeBudget);
  }
  if (firstDamage) throw *firstDamage;
  return projectWithoutMacros(document, file);
}

// The macros of the sheets' buttons and shapes of a binary workbook; a
// workbook stream that cannot be read binds none, and the code stays readable.
std::vector<DocumentCaller> workbookStreamCallers(GsfInfile* root, const OfficeFile& file) {
  try {
    const GsfInputHandle stream = entryAtPath(root, "Workbook", file);
    if (!stream || isStorage(stream.get())) return {};
    return workbookCallers(readWholeStream(stream.get(), "Workbook", file));
  } catch (const Failed&) {
    return {};
  }
}

LoadedProject loadCompoundFile(GsfInput* input, const fs::path& document, OfficeFile file) {
  file.endsEarly = oleFileEndsEarly(input);
  GErrorHandle error;
  GsfInfileHandle root(gsf_infile_msole_new(input, GErrorSlot(error)));
  if (!root) throw damagedDocument(file, "die OLE2-Struktur kann nicht gelesen werden");
  if (hasStream(root.get(), "EncryptionInfo", file) && hasStream(root.get(), "EncryptedPackage", file)) {
    throw encryptedDocument(file);
  }
  for (const std::string_view name : kVbaProjectStorages) {
    if (GsfInfileHandle storage = storageAtPath(root.get(), name, file)) {
      LoadedProject project = readProject(std::move(storage), file);
      project.addDocumentCallers(workbookStreamCallers(root.get(), file));
      return project;
    }
  }
  if (hasStream(root.get(), "VBA/dir", file)) return readProject(std::move(root), file);
  if (hasStream(root.get(), kPresentationStream, file)) return loadPresentation(root.get(), document, file);
  for (const std::string_view name : kDocumentStreams) {
    if (hasStream(root.get(), name, file)) return projectWithoutMacros(document, file);
  }
  // A cut-off file may have lost its streams with its end.
  if (file.endsEarly) throw damagedDocument(file, {});
  throw documentWithoutVbaProject(file);
}

}  // namespace

LoadedProject loadOfficeDocument(const fs::path& document) {
  ensureGsfInitialized();
  OfficeFile file{pathToText(document)};
  GErrorHandle error;
  const GsfInputHandle input(gsf_input_stdio_new(document.c_str(), GErrorSlot(error)));
  if (!input) throw Failed("Die Datei \"" + file.name + "\" kann nicht geöffnet werden.");
  file.codeBudget = decompressedCodeBudget(static_cast<std::uintmax_t>(std::max<gsf_off_t>(0, gsf_input_size(input.get()))));
  const std::string head = bytesAt(input.get(), 0, static_cast<gsf_off_t>(kOleSignature.size()));
  if (head.starts_with(kZipSignature)) return loadPackage(input.get(), document, file);
  if (head == kOleSignature) return loadCompoundFile(input.get(), document, file);
  throw notAnOfficeDocument(file);
}

}  // namespace cq
