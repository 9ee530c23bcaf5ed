#include "sources/office/powerpoint_records.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "sources/office/zlib_inflate.h"

namespace cq {

namespace {

constexpr std::size_t kRecordHeaderBytes = 8;
constexpr std::size_t kDecompressedSizeBytes = 4;
constexpr unsigned kContainerVersion = 0xF;
constexpr unsigned kExOleObjStgType = 0x1011;
constexpr unsigned kCompressedInstance = 1;
constexpr unsigned kUncompressedInstance = 0;
constexpr int kMaxContainerDepth = 64;

std::uint32_t littleEndian(std::string_view bytes, std::size_t offset, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

void collectRecords(std::string_view records, int depth, std::vector<EmbeddedStorageRecord>& found) {
  std::size_t offset = 0;
  while (records.size() - offset >= kRecordHeaderBytes) {
    const std::uint32_t versionAndInstance = littleEndian(records, offset, 2);
    const std::uint32_t type = littleEndian(records, offset + 2, 2);
    const std::uint32_t length = littleEndian(records, offset + 4, 4);
    const std::size_t dataStart = offset + kRecordHeaderBytes;
    if (length > records.size() - dataStart) return;
    const std::string_view data = records.substr(dataStart, length);
    const unsigned version = versionAndInstance & 0xF;
    const unsigned instance = versionAndInstance >> 4;
    if (type == kExOleObjStgType && (instance == kCompressedInstance || instance == kUncompressedInstance)) {
      found.push_back({data, instance == kCompressedInstance});
    } else if (version == kContainerVersion && depth < kMaxContainerDepth) {
      collectRecords(data, depth + 1, found);
    }
    offset = dataStart + length;
  }
}

}  // namespace

std::vector<EmbeddedStorageRecord> embeddedStorageRecords(std::string_view documentStream) {
  std::vector<EmbeddedStorageRecord> found;
  collectRecords(documentStream, 0, found);
  return found;
}

std::string embeddedStorageBytes(const EmbeddedStorageRecord& record, std::size_t& budget, const OfficeFile& file) {
  if (!record.compressed) {
    if (record.data.size() > budget) throw damagedDocument(file, "ein eingebettetes Objekt ist zu groß");
    budget -= record.data.size();
    return std::string(record.data);
  }
  if (record.data.size() < kDecompressedSizeBytes) {
    throw damagedDocument(file, "ein eingebettetes Objekt ist unvollständig");
  }
  const std::size_t declaredSize = littleEndian(record.data, 0, kDecompressedSizeBytes);
  if (declaredSize > budget) throw damagedDocument(file, "ein eingebettetes Objekt ist zu groß");
  std::optional<std::string> bytes = inflateKnownSize(record.data.substr(kDecompressedSizeBytes), declaredSize);
  if (!bytes) throw damagedDocument(file, "ein eingebettetes Objekt kann nicht entpackt werden");
  budget -= bytes->size();
  return std::move(*bytes);
}

}  // namespace cq
