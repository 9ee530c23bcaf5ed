#pragma once
// The package's list of content types ([Content_Types].xml), asked which part
// holds the VBA project.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

inline constexpr std::string_view kVbaProjectContentType = "application/vnd.ms-office.vbaProject";

// The names of the parts that hold the VBA project, without the leading "/" and
// with %-escapes decoded ("xl/vbaProject.bin"): first those named by Override
// entries, in their order, then those of `packageParts` whose extension has the
// VBA project type as Default and that no Override gives another type. Letters
// compare ignoring case, as part names do. Nullopt when the XML is malformed.
std::optional<std::vector<std::string>> vbaProjectParts(std::string_view contentTypesXml,
                                                        const std::vector<std::string>& packageParts);

}  // namespace cq
