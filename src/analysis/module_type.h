#pragma once
// The type of a module as the code database stores it (mod_typ) and the image
// keys "M<code>" name it.
#include <cstdint>

namespace cq {

enum class ModuleType : int {
  kForm = 1,            // a user form, or the document module of an Access form
  kStandardModule = 2,
  kClassModule = 3,
  kDocumentModule = 5,  // sheets, ThisWorkbook, ThisDocument
  kReport = 6,          // the document module of an Access report
  kOther = 32,
};

constexpr int moduleTypeCode(ModuleType type) { return static_cast<int>(type); }

// A stored code. One outside the list (a database of another program, a
// file's type digit) stays as it is, so it is shown and stored unchanged.
constexpr ModuleType moduleTypeOfCode(std::int64_t code) { return static_cast<ModuleType>(static_cast<int>(code)); }

}  // namespace cq
