#pragma once
// The host of this program: the documents the user opened (files and folders).
// They stay open until the program ends. Attaching reads what is not read yet;
// a refresh first forgets what was read, so it shows what is on disk now, while
// a read that follows works on exactly what the refresh listed.
#include <filesystem>
#include <string>
#include <vector>

#include "sources/host_application.h"
#include "sources/loaded_project.h"
#include "sources/module_file_encoding.h"

namespace cq {

struct DocumentLoadError {
  std::filesystem::path document;
  std::string message;  // German
};

class DocumentHost : public HostApplication {
 public:
  // Adds a document to those open (made absolute); false when it is open already.
  // It is read at the next attach.
  bool open(const std::filesystem::path& document);
  const std::vector<std::filesystem::path>& openDocuments() const { return documents_; }

  // Reads every open document not read yet; false when none is open. A document
  // that cannot be read still counts as a project, with its reason as loadError().
  bool attach() override;
  // The next attach reads every document again from disk.
  void forgetRead() { projects_.clear(); }
  // The code page of module files for the reads to come (kDetectCodePage: detected).
  void setModuleFileCodePage(int codePage) { moduleFileCodePage_ = codePage; }
  long projectCount() const override { return static_cast<long>(projects_.size()); }
  const HostProject& project(long index) const override { return loadedProject(index); }
  const LoadedProject& loadedProject(long index) const;  // 1-based

  // The documents of the last attach that could not be read, in open order.
  std::vector<DocumentLoadError> loadErrors() const;

 private:
  std::vector<std::filesystem::path> documents_;
  std::vector<LoadedProject> projects_;  // one per open document, after attach
  int moduleFileCodePage_ = kDetectCodePage;
};

}  // namespace cq
