#pragma once
// Routines that the document calls by name from outside the code: callbacks of
// its ribbon, macros of buttons and shapes, event procedures that an Access
// form's properties bind. The readers of documents find them; the report of
// routines nobody calls counts them as called.
#include <string>
#include <string_view>

namespace cq {

struct DocumentCaller {
  std::string routine;  // the routine's name
  std::string module;   // the module the document names with it, or empty for any
  std::string caller;   // who calls it (German): "Menüband: onAction", "Schaltfläche auf Tabelle1"
};

// The routine a document names as a macro ("Macro1", "Module1.Macro1",
// "[0]!Macro1", "'Mappe 1.xlsm'!Sheet1.Button1_Click", "'Macro1 5'"): the
// workbook before the last "!" outside quotes is dropped, and so are enclosing
// single quotes and arguments after a blank; the module is the part before the
// last dot (after the project in "Project.Module.Macro"). No routine when the
// text names none.
DocumentCaller macroCaller(std::string_view reference, std::string caller);

}  // namespace cq
