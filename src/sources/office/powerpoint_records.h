#pragma once
// The record tree of the "PowerPoint Document" stream, searched for the OLE2
// files embedded in it: a presentation keeps its VBA project storage there.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sources/office/office_file_errors.h"

namespace cq {

// The data of one ExOleObjStg record: either "4-byte size, zlib data" or the
// OLE2 file as it is.
struct EmbeddedStorageRecord {
  std::string_view data;
  bool compressed = false;
};

// Every ExOleObjStg record of the stream in stream order, looking into container
// records. A record whose length runs past its container ends the walk of that
// container.
std::vector<EmbeddedStorageRecord> embeddedStorageRecords(std::string_view documentStream);

// The OLE2 file a record holds, decompressed when it is compressed. `budget` is
// what may still be decompressed for the document; it shrinks by what this
// record gives. Throws Failed when the record is damaged or too large.
std::string embeddedStorageBytes(const EmbeddedStorageRecord& record, std::size_t& budget, const OfficeFile& file);

}  // namespace cq
