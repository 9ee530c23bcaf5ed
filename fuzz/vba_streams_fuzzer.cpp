// The streams of a VBA project one by one, the first input byte choosing which
// reader gets the rest: decompression, dir stream, PROJECT stream, PowerPoint
// records (with their embedded storages) and content types.
#include <string>

#include "fuzz_input_file.h"
#include "sources/office/content_types.h"
#include "sources/office/powerpoint_records.h"
#include "sources/vba/dir_stream.h"
#include "sources/vba/ovba_compression.h"
#include "sources/vba/project_stream.h"

namespace {

constexpr std::size_t kOutputLimit = 1u << 20;

void readDir(std::string_view bytes) {
  try {
    (void)cq::parseDirStream(bytes);
  } catch (const cq::Failed&) {
  }
  if (auto dir = cq::decompressOvba(bytes, kOutputLimit)) {
    try {
      (void)cq::parseDirStream(*dir);
    } catch (const cq::Failed&) {
    }
  }
}

void readProject(std::string_view bytes) {
  const cq::ProjectStream project(bytes);
  (void)project.componentType("Module1", true);
  (void)project.lockedForViewing();
  const std::size_t equals = bytes.find('=');
  (void)cq::decryptProjectValue(bytes.substr(equals == std::string_view::npos ? 0 : equals + 1));
}

void readPresentation(std::string_view bytes) {
  std::size_t budget = kOutputLimit;
  const cq::OfficeFile file{"fuzz.ppt"};
  for (const cq::EmbeddedStorageRecord& record : cq::embeddedStorageRecords(bytes)) {
    try {
      (void)cq::embeddedStorageBytes(record, budget, file);
    } catch (const cq::Failed&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes = cq::fuzz::bytesOf(data + 1, size - 1);
  switch (data[0] % 5) {
    case 0: (void)cq::decompressOvba(bytes, kOutputLimit); break;
    case 1: readDir(bytes); break;
    case 2: readProject(bytes); break;
    case 3: readPresentation(bytes); break;
    default: (void)cq::vbaProjectParts(bytes, {"xl/vbaProject.bin", "word/vbaData.xml", "a%20b.bin"}); break;
  }
  return 0;
}
