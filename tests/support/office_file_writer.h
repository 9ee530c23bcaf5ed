#pragma once
// Office files made in memory for the tests: OLE2 compound files, OOXML packages
// and the PowerPoint records that embed a VBA storage.
#include <map>
#include <string>
#include <string_view>

namespace cq::test {

// Stream paths with "/" between storage names ("VBA/dir") mapped to their bytes.
using StreamMap = std::map<std::string, std::string>;

// `streams` with every path put below `storage` ("Macros" + "VBA/dir" -> "Macros/VBA/dir").
StreamMap belowStorage(std::string_view storage, const StreamMap& streams);

// An OLE2 compound file holding `streams`, storages made as the paths need them.
std::string compoundFileBytes(const StreamMap& streams);

// A ZIP package holding `parts` (paths without a leading "/").
std::string zipPackageBytes(const StreamMap& parts);

// The content-type list of a package whose part `vbaPartName` ("/xl/vbaProject.bin")
// holds the VBA project; an empty name gives a list without it.
std::string contentTypesXml(std::string_view vbaPartName);

// A macro-enabled workbook: the content types and xl/vbaProject.bin holding the
// compound file made from `vbaProject`.
std::string macroWorkbookBytes(const StreamMap& vbaProject);

// How an ExOleObjStg record holds its OLE2 file.
enum class EmbeddedStorage { kCompressed, kCompressedWithoutChecksum, kUncompressed };

// One PowerPoint record: version/instance, type, length, data.
std::string presentationRecord(unsigned version, unsigned instance, unsigned type, std::string_view data);

// An ExOleObjStg record holding `oleFile` as `form` says.
std::string embeddedStorageRecord(std::string_view oleFile, EmbeddedStorage form);

// A "PowerPoint Document" stream: a document container holding `records`
// after an unrelated atom, as presentations nest their records.
std::string presentationStream(std::string_view records);

}  // namespace cq::test
