#include "sources/host_tree.h"

#include "analysis/empty_module.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/path_text.h"

namespace cq {

namespace {

constexpr std::string_view kProjectImage = "Fahne";
constexpr std::string_view kDocumentErrorImage = "Warnung";
constexpr std::string_view kFormPrefix = "Form_";
constexpr std::string_view kReportPrefix = "Report_";
constexpr std::string_view kNoCodeReason = "enthält kein Modul mit Code";

// The file name part of a project's node text.
std::string fileNamePart(const HostProject& project) {
  try {
    return fileNameOf(project.fileName(), '/');
  } catch (const Failed&) {
    return "Nicht gespeichert";  // the document was never saved
  }
}

}  // namespace

std::size_t HostTree::addNode(std::string key, std::string text, std::string image, std::size_t parent) {
  const std::size_t index = nodes.size();
  HostTreeNode node;
  node.key = std::move(key);
  node.text = std::move(text);
  node.image = std::move(image);
  node.parent = parent;
  nodes.push_back(std::move(node));
  if (parent != kNoParent) nodes[parent].children.push_back(index);
  return index;
}

std::size_t HostTree::addHostNode(std::string key, std::string text, std::string image, long project, long component,
                                  std::size_t parent) {
  const std::size_t index = addNode(std::move(key), std::move(text), std::move(image), parent);
  nodes[index].project = project;
  nodes[index].component = component;
  return index;
}

ModuleKind moduleKindOf(int componentType, std::string_view componentName) {
  switch (componentType) {
    case kDocumentModule:
      if (startsWithIgnoringAsciiCase(componentName, kFormPrefix)) {
        return {ModuleType::kForm, std::string(componentName.substr(kFormPrefix.size()))};
      }
      if (startsWithIgnoringAsciiCase(componentName, kReportPrefix)) {
        return {ModuleType::kReport, std::string(componentName.substr(kReportPrefix.size()))};
      }
      // Sheets, ThisWorkbook and ThisDocument keep their names.
      return {ModuleType::kDocumentModule, std::string(componentName)};
    case kStandardModule:
      return {ModuleType::kStandardModule, std::string(componentName)};
    case kClassModule:
      return {ModuleType::kClassModule, std::string(componentName)};
    case kUserForm:
      return {ModuleType::kForm, std::string(componentName)};
    default:
      return {ModuleType::kOther, std::string(componentName)};
  }
}

std::string imageKeyOfModuleType(ModuleType type) {
  if (type == ModuleType::kOther) return "XXX";
  std::string key = "M";
  return key.append(std::to_string(moduleTypeCode(type)));
}

Outcome<HostTreeFill> fillHostTree(HostApplication& host, HostTree& tree) {
  tree.nodes.clear();
  if (!host.attach()) return HostTreeFill{false};
  try {
    const long projectCount = host.projectCount();
    for (long i = 1; i <= projectCount; ++i) {
      const HostProject& project = host.project(i);
      const std::string fileText = fileNamePart(project);
      const std::string name = project.name();
      if (project.protection()) continue;

      const std::string projectKey = std::string("A").append(std::to_string(i)).append("\\");
      if (const std::string reason = project.loadError(); !reason.empty()) {
        const std::size_t node =
            tree.addHostNode(projectKey, fileText + ": " + reason, std::string(kDocumentErrorImage), i);
        tree.nodes[node].checkable = false;
        continue;
      }

      const std::size_t projectNode =
          tree.addHostNode(projectKey, name + " [" + fileText + "]", std::string(kProjectImage), i);
      const long componentCount = project.componentCount();
      for (long j = 1; j <= componentCount; ++j) {
        const HostComponent& component = project.component(j);
        if (!holdsCode(component.lines(1, component.countOfLines()))) continue;
        const std::string componentName = component.name();
        ModuleKind kind = moduleKindOf(component.type(), componentName);
        tree.addHostNode(projectKey + componentName, std::move(kind.displayName), imageKeyOfModuleType(kind.type), i,
                         j, projectNode);
      }
      // A project with nothing to read stays listed, saying why, so that its
      // document does not seem lost.
      if (tree.nodes[projectNode].children.empty()) {
        HostTreeNode& empty = tree.nodes[projectNode];
        empty.text = fileText + ": " + std::string(kNoCodeReason);
        empty.image = kDocumentErrorImage;
        empty.checkable = false;
      }
    }
  } catch (const Failed& failed) {
    return failed.failure();
  } catch (const std::exception& error) {
    return Failure{systemText(error.what())};
  }
  return HostTreeFill{true};
}

void setTicked(HostTree& tree, std::size_t nodeIndex, bool ticked) {
  if (nodeIndex >= tree.nodes.size()) return;
  HostTreeNode& changed = tree.nodes[nodeIndex];
  if (!changed.checkable) {
    changed.checked = false;
    return;
  }
  changed.checked = ticked;
  // The prefix keeps its "\" so that ticking in A1\ leaves A11\ alone.
  const std::string prefix = textBeforeFirst(changed.key, "\\") + "\\";
  for (HostTreeNode& node : tree.nodes) {
    if (!startsWithIgnoringAsciiCase(node.key, prefix)) node.checked = false;
  }
  for (const std::size_t child : changed.children) tree.nodes[child].checked = ticked;
}

bool anyTicked(const HostTree& tree) {
  return std::any_of(tree.nodes.begin(), tree.nodes.end(), [](const HostTreeNode& node) { return node.checked; });
}

long tickedProjectIndex(const HostTree& tree) {
  const auto ticked =
      std::find_if(tree.nodes.begin(), tree.nodes.end(), [](const HostTreeNode& node) { return node.checked; });
  return ticked == tree.nodes.end() ? 0 : ticked->project;
}

}  // namespace cq
