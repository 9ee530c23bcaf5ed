#pragma once
// A component written out as the module file the VBA editor exports: the header
// of its kind, its attribute lines and its code, with CR LF (text; the export
// writes it in the project's code page).
#include <string>
#include <string_view>

namespace cq {

// Whether a component is the module of an Access form ("Form_…" document
// module), which is exported as a form.
bool isAccessForm(int componentType, std::string_view name);

// ".bas" for standard modules, ".cls" for class and document modules, ".frm"
// for user forms and Access forms; empty for the designers of Visual Basic
// projects, which have no module file of that kind.
std::string_view moduleFileExtension(int componentType, std::string_view name);

// The module file of a component named `name`. `source` is the module's text
// below the header (LoadedComponent::source(): attribute lines, then code).
// The VB_Name attribute comes first and carries `name`, so that reading the file
// gives the module its name again. Class modules and user forms lose the
// attributes that the editor leaves out of their files (VB_Base,
// VB_TemplateDerived, VB_Customizable): in a .cls file VB_Base marks a
// document module. A user form, and an Access form, gets the header line of
// its designer; the designer's data (controls, .frx) is not part of the code
// stream and stays out.
std::string moduleFileText(std::string_view name, int componentType, std::string_view source);

}  // namespace cq
