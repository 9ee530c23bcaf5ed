#pragma once
// The settings that decide how marked-up text is rendered (settings keys in comments).
#include <cstdint>
#include <string>

namespace cq {

struct RenderOptions {
  std::int32_t keywordColour = 8388608;  // "fkey", RGB with red in the low byte
  std::int32_t commentColour = 32768;    // "fkom"
  std::int32_t stringColour = 128;       // "fstr"
  std::string fontName = "MS Sans Serif";  // "font", the part before ","
  int fontSize = 10;                     // "font", points
  int tabWidthMm = 5;                    // "tab"
  bool boldRoutineLines = true;          // "rouf"
  int codePage = 1252;                   // the project's, not a setting: RTF's \ansicpg

  bool operator==(const RenderOptions&) const = default;
};

}  // namespace cq
