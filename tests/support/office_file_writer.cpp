#include "support/office_file_writer.h"

#include <stdexcept>
#include <vector>

#include <zlib.h>

#include "sources/office/gsf_handles.h"

namespace cq::test {

namespace {

constexpr unsigned kContainerVersion = 0xF;
constexpr unsigned kDocumentContainerType = 0x03E8;
constexpr unsigned kDocumentAtomType = 0x03E9;
constexpr unsigned kExOleObjStgType = 0x1011;
constexpr std::size_t kZlibChecksumBytes = 4;

void appendLittleEndian(std::string& bytes, unsigned long value, int count) {
  for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void writeBytes(GsfOutput* output, std::string_view bytes) {
  if (!gsf_output_write(output, bytes.size(), reinterpret_cast<const guint8*>(bytes.data()))) {
    throw std::runtime_error("test file could not be written");
  }
}

// Writes the streams of `streams` into `storage`: direct streams as they are,
// deeper paths grouped into one child storage per first name.
void writeTree(GsfOutfile* storage, const StreamMap& streams) {
  std::map<std::string, StreamMap> children;
  for (const auto& [path, bytes] : streams) {
    const std::size_t slash = path.find('/');
    if (slash != std::string::npos) {
      children[path.substr(0, slash)].emplace(path.substr(slash + 1), bytes);
      continue;
    }
    const GsfOutputHandle stream(gsf_outfile_new_child(storage, path.c_str(), FALSE));
    writeBytes(stream.get(), bytes);
    gsf_output_close(stream.get());
  }
  for (const auto& [name, below] : children) {
    const GsfOutputHandle child(gsf_outfile_new_child(storage, name.c_str(), TRUE));
    writeTree(GSF_OUTFILE(child.get()), below);
    gsf_output_close(child.get());
  }
}

template <typename MakeOutfile>
std::string writtenFile(const StreamMap& streams, MakeOutfile makeOutfile) {
  ensureGsfInitialized();
  const GsfOutputHandle sink(gsf_output_memory_new());
  {
    const GsfOutfileHandle outfile(makeOutfile(sink.get()));
    if (!outfile) throw std::runtime_error("test file could not be started");
    writeTree(outfile.get(), streams);
    gsf_output_close(GSF_OUTPUT(outfile.get()));
  }
  if (!gsf_output_is_closed(sink.get())) gsf_output_close(sink.get());  // a ZIP closes its sink itself
  const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
  return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(gsf_output_size(sink.get())));
}

std::string zlibCompressed(std::string_view bytes) {
  uLongf size = compressBound(bytes.size());
  std::string compressed(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                bytes.size(), Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("test data could not be compressed");
  }
  compressed.resize(size);
  return compressed;
}

}  // namespace

StreamMap belowStorage(std::string_view storage, const StreamMap& streams) {
  StreamMap moved;
  for (const auto& [path, bytes] : streams) moved.emplace(std::string(storage) + "/" + path, bytes);
  return moved;
}

std::string compoundFileBytes(const StreamMap& streams) {
  return writtenFile(streams, [](GsfOutput* sink) { return gsf_outfile_msole_new(sink); });
}

std::string zipPackageBytes(const StreamMap& parts) {
  return writtenFile(parts, [](GsfOutput* sink) {
    GErrorHandle error;
    return gsf_outfile_zip_new(sink, GErrorSlot(error));
  });
}

std::string contentTypesXml(std::string_view vbaPartName) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.ms-excel.sheet.macroEnabled.main+xml\"/>";
  if (!vbaPartName.empty()) {
    xml += "<Override PartName=\"" + std::string(vbaPartName) +
           "\" ContentType=\"application/vnd.ms-office.vbaProject\"/>";
  }
  return xml + "</Types>";
}

std::string macroWorkbookBytes(const StreamMap& vbaProject) {
  return zipPackageBytes({{"[Content_Types].xml", contentTypesXml("/xl/vbaProject.bin")},
                          {"xl/workbook.xml", "<workbook/>"},
                          {"xl/vbaProject.bin", compoundFileBytes(vbaProject)}});
}

std::string presentationRecord(unsigned version, unsigned instance, unsigned type, std::string_view data) {
  std::string record;
  appendLittleEndian(record, (instance << 4) | version, 2);
  appendLittleEndian(record, type, 2);
  appendLittleEndian(record, data.size(), 4);
  return record.append(data);
}

std::string embeddedStorageRecord(std::string_view oleFile, EmbeddedStorage form) {
  if (form == EmbeddedStorage::kUncompressed) return presentationRecord(0, 0, kExOleObjStgType, oleFile);
  std::string data;
  appendLittleEndian(data, oleFile.size(), 4);
  std::string compressed = zlibCompressed(oleFile);
  if (form == EmbeddedStorage::kCompressedWithoutChecksum) compressed.resize(compressed.size() - kZlibChecksumBytes);
  return presentationRecord(0, 1, kExOleObjStgType, data + compressed);
}

std::string presentationStream(std::string_view records) {
  const std::string atom = presentationRecord(1, 0, kDocumentAtomType, std::string(40, '\0'));
  return presentationRecord(kContainerVersion, 0, kDocumentContainerType, atom + std::string(records));
}

}  // namespace cq::test
