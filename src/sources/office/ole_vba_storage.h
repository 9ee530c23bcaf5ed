#pragma once
// The VBA project storage inside an OLE2 file (a vbaProject.bin, the
// _VBA_PROJECT_CUR storage of a workbook, the Macros storage of a Word file).
#include <optional>
#include <string>
#include <string_view>

#include "sources/office/gsf_handles.h"
#include "sources/office/office_file_errors.h"
#include "sources/vba/vba_project_reader.h"

namespace cq {

class OleVbaStorage : public VbaStorage {
 public:
  // `root` is the storage that holds PROJECT and VBA/; `file` names the document
  // in messages.
  OleVbaStorage(GsfInfileHandle root, OfficeFile file);

  // Stream names compare ignoring case; a path that names a storage is no stream.
  std::optional<std::string> stream(std::string_view path) const override;

  // Holds the PROJECT stream and the VBA/dir stream, as every VBA project does.
  bool holdsVbaProject() const;

 private:
  GsfInfileHandle root_;
  OfficeFile file_;
};

}  // namespace cq
