#pragma once
// The fields of `list` output: one node per line, fields set apart by tabs, so
// no field may hold a line break or a tab of its own.
#include <string>
#include <string_view>

namespace cq::cli {

// The text with "\" written as "\\", line feed, carriage return and tab as
// "\n", "\r", "\t", and every other control character (C0, DEL and C1, among
// them the five that Windows-1252 leaves undefined) as "\x" and two hex digits.
std::string escapedListField(std::string_view text);

// A host tree key: the project part "A<n>\" as it is, the component name after
// it escaped as escapedListField() does.
std::string listedKey(std::string_view key);

}  // namespace cq::cli
