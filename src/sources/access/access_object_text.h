#pragma once
// The text that Access writes for a form or a report (as its SaveAsText and
// the version-control add-ins export it: ".form", ".report", or ".bas" beside
// the object's ".cls"): nested "Begin <Type>" … "End" blocks of properties,
// in which an event property set to "[Event Procedure]" binds the event
// procedure <Object>_<Event> of the object's module.
#include <string>
#include <string_view>
#include <vector>

#include "analysis/document_callers.h"

namespace cq {

enum class AccessObjectKind { kNone, kForm, kReport };

// What the text describes: its first "Begin" line opens the form or the report;
// kNone for any other text (a module's code, a query).
AccessObjectKind accessObjectKind(std::string_view text);

// The event procedures the text binds, in module `module`: "Form_Load" for the
// form's own OnLoad, "cmdOK_Click" for OnClick of control cmdOK, "Detail_Format"
// for OnFormat of section Detail. The code that may follow ("CodeBehindForm")
// is no part of it.
std::vector<DocumentCaller> accessEventBindings(std::string_view text, const std::string& module);

}  // namespace cq
