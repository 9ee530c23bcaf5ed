#pragma once
// Walking and reading the trees of storages and streams that the document
// library opens: OLE2 compound files and ZIP packages alike.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/office/gsf_handles.h"
#include "sources/office/office_file_errors.h"

namespace cq {

// No stream of a document is read beyond this size: the code of a project is far
// smaller, and a damaged size must not make the program claim all memory.
inline constexpr std::int64_t kMaxStreamBytes = 256LL * 1024 * 1024;

// A storage (folder) rather than a stream.
bool isStorage(GsfInput* entry);

// The child of `storage` named `name` (letters A-Z compared ignoring case; the
// name may be given as UTF-8 or Windows-1252); null when there is none. Throws
// Failed when the child exists but cannot be opened.
GsfInputHandle childIgnoringCase(GsfInfile* storage, std::string_view name, const OfficeFile& file);

// The entry at `path` ("VBA/dir") below `root`, looked up as childIgnoringCase
// does; null when a part of the path is missing or is not a storage.
GsfInputHandle entryAtPath(GsfInfile* root, std::string_view path, const OfficeFile& file);

// The entry at `path` when it is a storage, else null.
GsfInfileHandle storageAtPath(GsfInfile* root, std::string_view path, const OfficeFile& file);

// The paths ("xl/vbaProject.bin") of the streams below `root`, as the library
// names them; at most `limit` of them, storages nested at most 32 deep.
std::vector<std::string> streamPaths(GsfInfile* root, std::size_t limit);

// Every byte of `stream`; throws Failed naming the stream (`streamName`,
// Windows-1252) when it is larger than `limit` or cannot be read.
std::string readWholeStream(GsfInput* stream, std::string_view streamName, const OfficeFile& file,
                            std::int64_t limit = kMaxStreamBytes);

// The root storage of the OLE2 file held in `bytes`; throws Failed saying that
// `what` ("das VBA-Projekt") is damaged when the bytes are no readable OLE2 file.
GsfInfileHandle openOleBytes(std::string_view bytes, std::string_view what, const OfficeFile& file);

}  // namespace cq
