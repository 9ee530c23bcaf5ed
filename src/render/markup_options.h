#pragma once

namespace cq {

// The settings that shape marked-up text (settings keys in comments).
struct MarkupOptions {
  bool removeEmptyLines = false;       // "leer"
  bool reindent = false;               // "einr"
  bool blankLineBeforeRoutines = false;  // "rle"
  bool indentRoutineBodies = false;    // "rer", only together with reindent

  bool operator==(const MarkupOptions&) const = default;
};

}  // namespace cq
