#pragma once
// The compressing side of the VBA stream compression, for building test
// projects: greedy matching within each 4096-byte chunk.
#include <string>
#include <string_view>

namespace cq::test {

// A compressed container of `data`. A chunk whose tokens take no fewer bytes
// than the chunk itself is stored raw; with `rawChunksOnly` every chunk is.
std::string compressOvba(std::string_view data, bool rawChunksOnly = false);

}  // namespace cq::test
