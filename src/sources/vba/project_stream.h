#pragma once
// The PROJECT stream of a VBA project: lines of text in the project's code page
// that say which kind each module is (Module=, Class=, BaseClass=, Document=,
// DocClass=)
// and, obfuscated, whether the project is locked for viewing (GC=).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

class ProjectStream {
 public:
  // Lines up to the first section ("[Host Extender Info]") are read; unknown and
  // malformed lines are skipped, so an empty text gives an unlocked project
  // whose modules take their kind from the dir stream.
  explicit ProjectStream(std::string_view text);

  // The component type (kStandardModule, kClassModule, kUserForm,
  // kDocumentModule) of the module named `codePageName` (compared ignoring
  // case). A module the stream does not list is a standard module when the dir
  // stream marks it procedural and a class module otherwise.
  int componentType(std::string_view codePageName, bool isProcedural) const;

  // The project is locked for viewing: its visibility state (GC=) reads 0x00.
  bool lockedForViewing() const { return lockedForViewing_; }

 private:
  struct ModuleKind {
    std::string name;
    int type;
  };
  std::vector<ModuleKind> modules_;
  bool lockedForViewing_ = false;
};

// The data of an obfuscated value of the PROJECT stream (the hex text of CMG=,
// DPB= or GC=, without quotes), or nullopt when it is not well-formed.
std::optional<std::string> decryptProjectValue(std::string_view hexText);

}  // namespace cq
