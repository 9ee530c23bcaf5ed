#pragma once
// The edition: one build per Office host, chosen by a constant host code.
#include <optional>
#include <string>
#include <string_view>

namespace cq {

struct Edition {
  int hostCode = 0;
  std::string_view name;          // in the settings root, the title and captions
  std::string_view abbreviation;  // in the message about a missing help file
};

// This build serves Access.
inline constexpr int kBuiltInHostCode = 3;

// The edition of a host code: 1 Excel, 2 Word, 3 Access, 4 PowerPoint, 9 VisualBasic.
std::optional<Edition> editionForHostCode(int hostCode);
const Edition& builtInEdition();

// Caption of the refresh command and tooltip of its toolbar button.
std::string refreshCommandCaption(const Edition& edition);
std::string refreshButtonTooltip(const Edition& edition);

}  // namespace cq
