#pragma once
// Reads a VBA project out of the storage that holds it (a vbaProject.bin, the
// VBA storage of an Office or Access file): the dir stream names the modules and
// where their compressed source starts, the PROJECT stream tells their kinds and
// whether the project is locked for viewing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sources/loaded_project.h"

namespace cq {

// The streams below the project's root storage, by path with "/" ("PROJECT",
// "VBA/dir", "VBA/Module1"), written in UTF-8 (module stream names may hold any
// Unicode character). Names compare without regard to case.
class VbaStorage {
 public:
  virtual ~VbaStorage() = default;
  // The stream's bytes, or nullopt when there is no such stream. Throws Failed
  // (German message) when the stream exists but cannot be read.
  virtual std::optional<std::string> stream(std::string_view path) const = 0;
};

// How much decompressed code a document of `documentBytes` bytes may hold: 64
// times its size (real projects hold a few times their size), at least 1 MB and
// at most 128 MB, so that a small hostile file cannot claim gigabytes.
std::size_t decompressedCodeBudget(std::uintmax_t documentBytes);

// The project with its components in the order of the dir stream. Throws
// Failed with a German message naming `fileName` and the reason when the
// project cannot be read (no dir stream, damaged records, bad compression) or
// its streams decompress to more than `codeBudget` bytes. Modules that share
// the source in one stream share its decompression.
LoadedProject readVbaProject(const VbaStorage& storage, const std::string& fileName, std::size_t codeBudget);

}  // namespace cq
