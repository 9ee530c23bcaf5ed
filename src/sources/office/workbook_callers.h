#pragma once
// The macros that buttons, form controls and shapes on the sheets of a binary
// workbook (.xls, BIFF8) run: each object record's macro formula names a
// defined name or an external name of the workbook, which is the macro.
#include <string_view>
#include <vector>

#include "analysis/document_callers.h"

namespace cq {

// Reads the records of the "Workbook" stream; records cut off, unknown or
// inconsistent end the part they belong to, never the read of the code. An
// encrypted workbook gives none.
std::vector<DocumentCaller> workbookCallers(std::string_view workbookStream);

}  // namespace cq
