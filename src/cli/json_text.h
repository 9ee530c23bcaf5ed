#pragma once
// JSON string literals for the --json output of codequorix-cli.
#include <string>
#include <string_view>

namespace cq::cli {

// `text` as a quoted JSON string in UTF-8: quote, backslash and every
// control character (C0, DEL and the C1 range) escaped, so the document stays
// valid whatever bytes a module name or file name holds.
std::string jsonString(std::string_view text);

}  // namespace cq::cli
