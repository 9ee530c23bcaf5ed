#include "sources/vba/dir_stream.h"

#include <algorithm>
#include <array>
#include <optional>

#include "sources/vba/code_page.h"

namespace cq {
namespace {

// Record ids of the dir stream.
enum RecordId : unsigned {
  kSysKind = 0x0001,
  kLcid = 0x0002,
  kCodePage = 0x0003,
  kProjectName = 0x0004,
  kDocString = 0x0005,
  kHelpFilePath = 0x0006,
  kHelpContext = 0x0007,
  kLibFlags = 0x0008,
  kProjectVersion = 0x0009,
  kConstants = 0x000C,
  kReferenceRegistered = 0x000D,
  kReferenceProject = 0x000E,
  kModuleCount = 0x000F,
  kDirEnd = 0x0010,
  kProjectCookie = 0x0013,
  kLcidInvoke = 0x0014,
  kReferenceName = 0x0016,
  kModuleName = 0x0019,
  kModuleStreamName = 0x001A,
  kModuleDocString = 0x001C,
  kModuleHelpContext = 0x001E,
  kModuleProcedural = 0x0021,
  kModuleNonProcedural = 0x0022,
  kModuleReadOnly = 0x0025,
  kModulePrivate = 0x0028,
  kModuleEnd = 0x002B,
  kModuleCookie = 0x002C,
  kReferenceControl = 0x002F,
  kReferenceControlExtended = 0x0030,
  kModuleOffset = 0x0031,
  kModuleStreamNameUnicode = 0x0032,
  kReferenceOriginal = 0x0033,
  kConstantsUnicode = 0x003C,
  kHelpFilePathUnicode = 0x003D,
  kReferenceNameUnicode = 0x003E,
  kDocStringUnicode = 0x0040,
  kModuleNameUnicode = 0x0047,
  kModuleDocStringUnicode = 0x0048,
  kCompatVersion = 0x004A,
};

// Records whose content this reader does not need but which may stand anywhere
// in a sound stream.
constexpr std::array kSkippedRecords = {
    kSysKind,
    kLcid,
    kDocString,
    kHelpFilePath,
    kHelpContext,
    kLibFlags,
    kProjectVersion,
    kConstants,
    kReferenceRegistered,
    kReferenceProject,
    kModuleCount,
    kProjectCookie,
    kLcidInvoke,
    kReferenceName,
    kModuleDocString,
    kModuleHelpContext,
    kModuleReadOnly,
    kModulePrivate,
    kModuleCookie,
    kReferenceControl,
    kReferenceControlExtended,
    kReferenceOriginal,
    kConstantsUnicode,
    kHelpFilePathUnicode,
    kReferenceNameUnicode,
    kDocStringUnicode,
    kModuleDocStringUnicode,
    kCompatVersion,
};

// PROJECTVERSION has no size field: its 4 bytes there are reserved and 6 bytes of
// version follow.
constexpr std::size_t kProjectVersionBytes = 6;

struct Record {
  unsigned id = 0;
  std::string_view data;
};

std::uint32_t littleEndian(std::string_view data, std::size_t pos, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[pos + i])) << (8 * i);
  }
  return value;
}

class RecordReader {
 public:
  explicit RecordReader(std::string_view stream) : stream_(stream) {}

  Record next() {
    constexpr std::size_t kHeaderBytes = 6;
    if (stream_.size() - pos_ < kHeaderBytes) throw Failed("das Verzeichnis (dir) endet vorzeitig");
    Record record;
    record.id = littleEndian(stream_, pos_, 2);
    const std::size_t size = record.id == kProjectVersion ? kProjectVersionBytes : littleEndian(stream_, pos_ + 2, 4);
    pos_ += kHeaderBytes;
    if (size > stream_.size() - pos_) throw Failed("ein Eintrag im Verzeichnis (dir) ist zu lang");
    record.data = stream_.substr(pos_, size);
    pos_ += size;
    return record;
  }

 private:
  std::string_view stream_;
  std::size_t pos_ = 0;
};

std::uint32_t numberIn(const Record& record, std::size_t bytes) {
  if (record.data.size() < bytes) throw Failed("ein Eintrag im Verzeichnis (dir) ist zu kurz");
  return littleEndian(record.data, 0, bytes);
}

// A module's records as they stand; names are converted once the code page is known.
struct RawModule {
  std::string_view name;
  std::optional<std::string_view> unicodeName;
  std::string_view streamName;
  std::optional<std::string_view> unicodeStreamName;
  std::uint32_t textOffset = 0;
  bool isProcedural = false;
};

// UTF-16LE text as UTF-8. Some writers count an odd byte or a final zero
// character into the size: both are dropped.
std::string unicodeToUtf8(std::string_view utf16) {
  std::string text = codePageToText(utf16.substr(0, utf16.size() & ~std::size_t{1}), kUtf16LeCodePage).text;
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

DirModule convertModule(const RawModule& raw, int codePage) {
  DirModule module;
  module.codePageName = std::string(raw.name);
  if (raw.unicodeName) module.name = unicodeToUtf8(*raw.unicodeName);
  if (module.name.empty()) module.name = codePageToText(raw.name, codePage).text;
  if (raw.unicodeStreamName) module.streamName = unicodeToUtf8(*raw.unicodeStreamName);
  if (module.streamName.empty()) module.streamName = codePageToText(raw.streamName, codePage).text;
  if (module.streamName.empty()) throw Failed("das Modul " + module.name + " hat keinen Stream-Namen");
  module.textOffset = raw.textOffset;
  module.isProcedural = raw.isProcedural;
  return module;
}

}  // namespace

DirStream parseDirStream(std::string_view dir) {
  RecordReader reader(dir);
  DirStream result;
  std::string_view projectName;
  std::vector<RawModule> modules;
  bool inModule = false;
  const auto currentModule = [&]() -> RawModule& {
    if (!inModule) throw Failed("ein Modul-Eintrag im Verzeichnis (dir) steht außerhalb eines Moduls");
    return modules.back();
  };

  for (Record record = reader.next(); record.id != kDirEnd; record = reader.next()) {
    switch (record.id) {
      case kCodePage: result.codePage = static_cast<int>(numberIn(record, 2)); break;
      case kProjectName: projectName = record.data; break;
      case kModuleName:
        modules.emplace_back().name = record.data;
        inModule = true;
        break;
      case kModuleNameUnicode: currentModule().unicodeName = record.data; break;
      case kModuleStreamName: currentModule().streamName = record.data; break;
      case kModuleStreamNameUnicode: currentModule().unicodeStreamName = record.data; break;
      case kModuleOffset: currentModule().textOffset = numberIn(record, 4); break;
      case kModuleProcedural: currentModule().isProcedural = true; break;
      case kModuleNonProcedural: currentModule().isProcedural = false; break;
      case kModuleEnd:
        currentModule();
        inModule = false;
        break;
      default:
        if (std::find(kSkippedRecords.begin(), kSkippedRecords.end(), record.id) == kSkippedRecords.end()) {
          throw Failed("das Verzeichnis (dir) enthält einen unbekannten Eintrag");
        }
    }
  }
  if (inModule) throw Failed("das Verzeichnis (dir) endet mitten in einem Modul");

  result.projectName = codePageToText(projectName, result.codePage).text;
  result.modules.reserve(modules.size());
  for (const RawModule& raw : modules) result.modules.push_back(convertModule(raw, result.codePage));
  return result;
}

}  // namespace cq
