#pragma once
// The pictures of the tree nodes, by image key: "Fahne" for a project, "M<type>"
// for a module, "R<type>O<visibility>" for a routine, "XXX" for anything else.
#include <QIcon>
#include <string>

namespace cq {

QIcon treeIcon(const std::string& imageKey);

}  // namespace cq
