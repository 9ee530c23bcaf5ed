#pragma once
// Decompressing zlib data whose size is known beforehand.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cq {

// The `expectedSize` bytes that `zlibData` decompresses to; at most that many are
// produced. Tolerant as the files written by Office need it: the data may lack
// its final check value, so reaching the expected size when the input runs out is
// success too. Nullopt when the data is damaged or gives fewer bytes.
std::optional<std::string> inflateKnownSize(std::string_view zlibData, std::size_t expectedSize);

}  // namespace cq
