#include "app/edition.h"

#include <array>

namespace cq {

namespace {

constexpr std::array<Edition, 5> kEditions{{
    {1, "Excel", "EQX"},
    {2, "Word", "WQX"},
    {3, "Access", "AQX"},
    {4, "PowerPoint", "PPQX"},
    {9, "VisualBasic", "VB"},
}};

constexpr int editionIndex(int hostCode) {
  for (std::size_t index = 0; index < kEditions.size(); ++index) {
    if (kEditions[index].hostCode == hostCode) return static_cast<int>(index);
  }
  return -1;
}

static_assert(editionIndex(kBuiltInHostCode) >= 0, "the built-in host code has no edition");

}  // namespace

std::optional<Edition> editionForHostCode(int hostCode) {
  const int index = editionIndex(hostCode);
  if (index < 0) return std::nullopt;
  return kEditions[static_cast<std::size_t>(index)];
}

const Edition& builtInEdition() { return kEditions[editionIndex(kBuiltInHostCode)]; }

std::string refreshCommandCaption(const Edition& edition) {
  return "&Aktualisieren " + std::string(edition.name) + " VBA Projekte";
}

std::string refreshButtonTooltip(const Edition& edition) {
  return "Aktualisieren " + std::string(edition.name) + " VBA Projekte (F5)";
}

}  // namespace cq
