#pragma once
// The dir stream of a VBA project (decompressed): the project's name and code
// page, its references, and one block of records per module naming the module,
// its stream and where the module's source starts in that stream.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/failure.h"

namespace cq {

struct DirModule {
  std::string name;              // from the Unicode record when there is one
  std::string codePageName;      // the name's bytes in the project's code page
  std::string streamName;        // UTF-8, the module's stream below the VBA storage
  std::uint32_t textOffset = 0;  // where the compressed source starts in that stream
  bool isProcedural = false;     // a standard module rather than a class, document or form
};

struct DirStream {
  std::string projectName;
  int codePage = 1252;
  std::vector<DirModule> modules;  // in the order of the stream
};

// Throws Failed when a record id is unknown, a record runs past the end of the
// stream, a module record stands outside a module or the stream ends before its
// end record. The message (German) says what is wrong but not in which file, the
// caller adds that.
DirStream parseDirStream(std::string_view dir);

}  // namespace cq
