#pragma once
// The host operations the project reader needs: documents open in the host, each
// one VBA project with its components. Errors are thrown as Failed carrying
// the German message that the window shows.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "analysis/document_callers.h"

#include "text/failure.h"

namespace cq {

// Component types as the VBA object model reports them.
enum ComponentType : int {
  kStandardModule = 1,
  kClassModule = 2,
  kUserForm = 3,
  kDocumentModule = 100,
};

class HostComponent {
 public:
  virtual ~HostComponent() = default;
  virtual std::string name() const = 0;
  virtual int type() const = 0;
  virtual long countOfLines() const = 0;
  // Lines first..first+count-1 (1-based) joined with CR LF, without a final CR LF.
  virtual std::string lines(long first, long count) const = 0;
  // Bytes of the source that form no character of its code page, written as U+FFFD.
  virtual std::size_t replacedCharacters() const { return 0; }
};

class HostProject {
 public:
  virtual ~HostProject() = default;
  virtual std::string fileName() const = 0;  // full path; throws when never saved
  virtual std::string name() const = 0;
  virtual bool protection() const = 0;       // locked for viewing
  // The Windows code page the project's text was written in (1252, 932, …).
  virtual int codePage() const { return 1252; }
  virtual long componentCount() const = 0;
  virtual const HostComponent& component(long index) const = 0;  // 1-based
  virtual const HostComponent& component(const std::string& name) const = 0;  // throws when absent
  // Why the document could not be read (German); empty when it could. A project
  // that failed to load has no components and is listed with this reason.
  virtual std::string loadError() const { return {}; }
  // The routines the document calls by name from outside the code (ribbon,
  // buttons and shapes, Access form properties).
  virtual std::vector<DocumentCaller> documentCallers() const { return {}; }
};

class HostApplication {
 public:
  virtual ~HostApplication() = default;
  // Attaches to the host; false when it is not available (nothing open).
  virtual bool attach() = 0;
  virtual long projectCount() const = 0;
  virtual const HostProject& project(long index) const = 0;  // 1-based
};

}  // namespace cq
