#pragma once
// The run-length compression of VBA project streams (the dir stream and the
// source part of every module stream): a signature byte 0x01, then chunks of at
// most 4096 decompressed bytes, each either raw or a run of literal bytes and
// copy tokens that point back into the same chunk.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cq {

// The decompressed bytes, or nullopt when the container is damaged (wrong
// signature, chunk header or copy token, a chunk running past the end) or would
// decompress to more than `maxOutput` bytes; `tooLarge`, when given, tells the
// latter from damage.
std::optional<std::string> decompressOvba(std::string_view container, std::size_t maxOutput,
                                          bool* tooLarge = nullptr);

}  // namespace cq
