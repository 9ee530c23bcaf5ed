#pragma once
// Builds the streams of a VBA project the way an Office host stores them, for
// tests of the reader and of the document loaders that wrap these streams into
// OLE2, OOXML or Access files.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sources/vba/vba_project_reader.h"

namespace cq::test {

struct VbaModulePlan {
  std::string name;             // in the project's code page (dir stream, PROJECT stream)
  std::string unicodeName;      // UTF-8, written as the Unicode name; empty: `name` decoded
  int kind = 1;                 // 1 standard module, 2 class, 3 user form, 100 document module
  std::string code;             // in the project code page; an "Attribute VB_Name" line is put before it
  std::size_t pcodePrefix = 0;  // bytes of stand-in compiled code before the source
  bool omitStream = false;      // listed in the dir stream but without a stream
  std::string streamName = {};  // UTF-8; empty: the Unicode name. Modules naming one stream share the first one's
};

struct VbaProjectPlan {
  std::string name = "VBAProject";  // in the project's code page
  int codePage = 1252;
  bool locked = false;  // locked for viewing
  std::vector<VbaModulePlan> modules;
  bool rawChunksOnly = false;  // store every compressed chunk raw
};

// Stream path ("PROJECT", "PROJECTwm", "VBA/dir", "VBA/_VBA_PROJECT",
// "VBA/" + the module's Unicode name in UTF-8) to the stream's bytes.
std::map<std::string, std::string> buildVbaProjectStreams(const VbaProjectPlan& plan);

// The encrypted form of `data` as it stands in the PROJECT stream (hex text
// without quotes), for the project whose ID line holds `projectId`.
std::string encryptProjectValue(std::string_view data, std::string_view projectId, unsigned char salt);

// A project storage over a map of streams; paths compare ignoring ASCII case.
class MapVbaStorage : public VbaStorage {
 public:
  explicit MapVbaStorage(std::map<std::string, std::string> streams) : streams_(std::move(streams)) {}
  std::optional<std::string> stream(std::string_view path) const override;

 private:
  std::map<std::string, std::string> streams_;
};

}  // namespace cq::test
