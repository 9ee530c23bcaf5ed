#pragma once
// The routines an OOXML package calls by name outside its VBA project: the
// callbacks of its ribbon (customUI/customUI.xml, customUI/customUI14.xml), the
// macros of buttons, form controls and shapes on its sheets, the macro
// actions of shapes on its slides, and a Word document's MACROBUTTON fields
// and the macros of its key combinations.
#include <vector>

#include "analysis/document_callers.h"
#include "sources/office/gsf_handles.h"
#include "sources/office/office_file_errors.h"

namespace cq {

// Parts that cannot be read or hold malformed XML add what they hold up to the
// damage: the code of the document stays readable without them.
std::vector<DocumentCaller> packageCallers(GsfInfile* package, const OfficeFile& file);

}  // namespace cq
