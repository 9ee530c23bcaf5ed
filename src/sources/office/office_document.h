#pragma once
// Office documents as the source of a VBA project: OOXML packages (xlsm, docm,
// pptm, …), OLE2 files (xls, doc, ppt, …) and a bare vbaProject.bin.
#include <filesystem>

#include "sources/loaded_project.h"

namespace cq {

// The document's VBA project. A document without macros gives a project without
// components (it is not listed); a document that cannot be read throws Failed
// with a German message naming the file and the reason (encrypted, truncated,
// damaged stream, not an Office file).
LoadedProject loadOfficeDocument(const std::filesystem::path& document);

}  // namespace cq
