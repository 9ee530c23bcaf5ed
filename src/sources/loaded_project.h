#pragma once
// A project read from a document into memory: what DocumentHost offers through
// the host interface.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "sources/host_application.h"
#include "sources/module_file.h"

namespace cq {

class LoadedComponent : public HostComponent {
 public:
  LoadedComponent(std::string name, int type, ModuleCode code, std::size_t replacedCharacters = 0);

  std::string name() const override { return name_; }
  int type() const override { return type_; }
  long countOfLines() const override { return code_.countOfLines(); }
  std::string lines(long first, long count) const override { return code_.lines(first, count); }
  // Bytes of the source that form no character of its code page.
  std::size_t replacedCharacters() const override { return replacedCharacters_; }
  // The module's text below a module file's header: attribute lines and code.
  std::string source() const { return code_.sourceText(); }
  void rename(std::string name) { name_ = std::move(name); }

 private:
  std::string name_;
  int type_;
  ModuleCode code_;
  std::size_t replacedCharacters_;
};

class LoadedProject : public HostProject {
 public:
  LoadedProject(std::string fileName, std::string name);
  // A document that could not be read: no components, the reason kept.
  static LoadedProject unreadable(std::string fileName, std::string name, std::string reason);

  // Adds a component; a name that is taken already (ignoring case, as VBA does)
  // gets " (2)", " (3)", … so that every module keeps its own node and file.
  void addComponent(LoadedComponent component);
  const std::vector<LoadedComponent>& components() const { return components_; }
  std::size_t replacedCharacters() const;

  std::string fileName() const override { return fileName_; }
  std::string name() const override { return name_; }
  bool protection() const override { return protection_; }
  // Locked for viewing: the host tree leaves such a project out.
  void setProtection(bool locked) { protection_ = locked; }
  int codePage() const override { return codePage_; }
  void setCodePage(int codePage) { codePage_ = codePage; }
  long componentCount() const override { return static_cast<long>(components_.size()); }
  const HostComponent& component(long index) const override;
  // Names compare ignoring case, as VBA names do.
  const HostComponent& component(const std::string& name) const override;
  std::string loadError() const override { return loadError_; }
  std::vector<DocumentCaller> documentCallers() const override { return documentCallers_; }
  void addDocumentCallers(std::vector<DocumentCaller> callers);

 private:
  std::string fileName_;
  std::string name_;
  std::string loadError_;
  bool protection_ = false;
  int codePage_ = 1252;
  std::vector<LoadedComponent> components_;
  std::vector<DocumentCaller> documentCallers_;
  std::unordered_map<std::string, std::size_t> indexByFoldedName_;  // names case folded
  std::unordered_map<std::string, int> nextSuffixByFoldedName_;
};

}  // namespace cq
