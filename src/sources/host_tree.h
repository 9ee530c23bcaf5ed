#pragma once
// The host tree as data: one node per readable project of the host and, below
// it, one per module worth reading, each with a check box. The window shows it;
// the rules of filling and ticking live here.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/module_type.h"
#include "sources/host_application.h"

namespace cq {

inline constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

struct HostTreeNode {
  std::string key;    // project "A<index>\", module "A<index>\<component name>"; identifies, never parsed
  std::string text;
  std::string image;  // "Fahne" for projects, "Warnung" for unreadable documents, "M<code>" or "XXX" for modules
  bool checked = false;
  bool checkable = true;  // false for a document that could not be read
  std::size_t parent = kNoParent;
  long project = 0;    // the host's project (1-based)
  long component = 0;  // the component within it (1-based); 0 for a project node
  std::vector<std::size_t> children;
};

struct HostTree {
  std::vector<HostTreeNode> nodes;  // in the order they were added
  std::string tag;                  // name of the project last read

  std::size_t addNode(std::string key, std::string text, std::string image, std::size_t parent = kNoParent);
  // A node of project `project` (1-based), a module node when `component` is not 0.
  std::size_t addHostNode(std::string key, std::string text, std::string image, long project, long component = 0,
                          std::size_t parent = kNoParent);
};

// Module type and the name shown for a component.
struct ModuleKind {
  ModuleType type;
  std::string displayName;
};
ModuleKind moduleKindOf(int componentType, std::string_view componentName);

// "M" + type code, "XXX" for other modules.
std::string imageKeyOfModuleType(ModuleType type);

struct HostTreeFill {
  bool attached = false;  // false: the host could not be attached, the tree stays empty
};

// Refills the tree from the host's projects. Fails when the walk fails (the
// nodes added so far stay). Locked projects and empty modules (nothing but
// Option lines, attribute lines and blank lines) are left out, and so is a
// project without any module left; a document that could
// not be read is kept as a project node naming the file and the reason.
Outcome<HostTreeFill> fillHostTree(HostApplication& host, HostTree& tree);

// The user ticked or unticked a node: only one project's nodes can be ticked,
// and a project node passes its state on to its modules.
void setTicked(HostTree& tree, std::size_t nodeIndex, bool ticked);
bool anyTicked(const HostTree& tree);

// The host project whose nodes are ticked (only one project's can be); 0 when
// nothing is ticked.
long tickedProjectIndex(const HostTree& tree);

}  // namespace cq
