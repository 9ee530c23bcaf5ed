#include "analysis/host_called_routines.h"

#include <algorithm>
#include <array>

#include "analysis/identifiers.h"
#include "analysis/marked_runs.h"
#include "analysis/module_type.h"
#include "analysis/text_finder.h"
#include "text/ascii_case.h"
#include "text/markers.h"

namespace cq {

namespace {

// The events that documents, forms, reports, user forms and their controls raise,
// in Access, Excel, Word and PowerPoint: the part after the last "_" of an event
// procedure's name, compared ignoring case. The one list of them.
constexpr std::array<std::string_view, 103> kEventNames = {
    "Activate", "AddControl", "AfterDelConfirm", "AfterFinalRender", "AfterInsert", "AfterLayout",
    "AfterRender", "AfterSave", "AfterUpdate", "ApplyFilter", "BeforeClose", "BeforeDelConfirm",
    "BeforeDoubleClick", "BeforeDragOver", "BeforeDropOrPaste", "BeforeInsert", "BeforePrint", "BeforeQuery",
    "BeforeRender", "BeforeRightClick", "BeforeSave", "BeforeScreenTip", "BeforeUpdate", "Calculate",
    "Calculated", "Change", "Click", "Close", "ContentControlAfterAdd", "ContentControlBeforeDelete",
    "ContentControlOnEnter", "ContentControlOnExit", "Current", "DblClick", "Deactivate", "Delete", "Dirty",
    "DocumentBeforeClose", "DocumentChange", "DragDrop", "DragOver", "DropButtonClick", "Enter", "Error",
    "Exit", "Filter", "FollowHyperlink", "Format", "GotFocus", "Initialize", "KeyDown", "KeyPress", "KeyUp",
    "Layout", "Load", "LostFocus", "MouseDown", "MouseMove", "MouseUp", "MouseWheel", "New", "NewChart",
    "NewSheet", "NoData", "NotInList", "Open", "Page", "PivotTableUpdate", "Print", "QueryClose", "Quit",
    "RemoveControl", "Reposition", "Resize", "Retreat", "Scroll", "Select", "SelectionChange", "SeriesChange",
    "SheetActivate", "SheetBeforeDelete", "SheetBeforeDoubleClick", "SheetBeforeRightClick", "SheetCalculate",
    "SheetChange", "SheetDeactivate", "SheetFollowHyperlink", "SheetSelectionChange", "SpinDown", "SpinUp",
    "Sync", "Terminate", "Timer", "Undo", "Unload", "Updated", "WindowActivate", "WindowDeactivate",
    "WindowResize", "WindowSelectionChange", "WindowSize", "XmlAfterInsert", "XmlBeforeDelete"};

// Macros the Office hosts run by themselves when a document opens, closes or
// (Excel's Auto_Activate and Auto_Deactivate) becomes active or inactive.
constexpr std::array<std::string_view, 9> kAutoMacros = {"Auto_Open",     "Auto_Close",      "Auto_Activate",
                                                         "Auto_Deactivate", "AutoExec",      "AutoOpen",
                                                         "AutoClose",     "AutoNew",         "AutoExit"};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The name that follows `at` after blanks and tabs: identifier characters and
// dots, of which the part after the last dot counts (a library's interface).
std::string nameAfter(std::string_view text, std::size_t at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  const std::size_t start = at;
  for (;;) {
    const std::size_t end = identifierRunEnd(text, at);
    if (end > at) {
      at = end;
    } else if (at < text.size() && text[at] == '.') {
      ++at;
    } else {
      break;
    }
  }
  const std::string_view name = text.substr(start, at - start);
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

bool startsWithPrefixAndUnderscore(std::string_view name, std::string_view prefix) {
  return !prefix.empty() && name.size() > prefix.size() + 1 && name[prefix.size()] == '_' &&
         equalsIgnoringCase(name.substr(0, prefix.size()), prefix);
}

// Who raises the events of a module's event procedures.
std::string eventCaller(ModuleType moduleType) {
  switch (moduleType) {
    case ModuleType::kForm:
      return "Formularereignis";
    case ModuleType::kReport:
      return "Berichtsereignis";
    default:
      break;
  }
  return "Dokumentereignis";
}

}  // namespace

ModuleHostFacts moduleHostFacts(std::string_view marked, std::string_view clean) {
  ModuleHostFacts facts;
  // Both declarations belong to the declarations section, which ends with the
  // first bold line.
  const std::size_t declarationsEnd = std::min(findMarker(marked, markers::kBold, 0), marked.size());
  marked = marked.substr(0, declarationsEnd);
  clean = clean.substr(0, std::min(declarationsEnd, clean.size()));
  // The keyword run of WithEvents, found by its word, which skips along faster
  // than its markers.
  constexpr std::string_view kWithEvents = "WithEvents";
  static const TextFinder findWithEvents(kWithEvents);
  for (std::size_t at = findWithEvents(marked, 0); at != std::string_view::npos;
       at = findWithEvents(marked, at + kWithEvents.size())) {
    const std::size_t after = at + kWithEvents.size();
    if (at < markers::kKeyword.size() ||
        marked.substr(at - markers::kKeyword.size(), markers::kKeyword.size()) != markers::kKeyword ||
        marked.substr(after, markers::kEnd.size()) != markers::kEnd)
      continue;
    std::string name = nameAfter(marked, after + markers::kEnd.size());
    if (!name.empty()) facts.withEventsVariables.push_back(std::move(name));
  }
  // "Implements" is no keyword of the mark-up: it stays in the clean text, as
  // the first word of its line.
  constexpr std::string_view kImplements = "Implements";
  static const TextFinder findImplements(kImplements);
  for (std::size_t at = findImplements(clean, 0); at != std::string_view::npos;
       at = findImplements(clean, at + kImplements.size())) {
    std::size_t before = at;
    while (before > 0 && isBlank(clean[before - 1])) --before;
    const bool firstWord = before == 0 || clean[before - 1] == '\n' || clean[before - 1] == '\r';
    const std::size_t after = at + kImplements.size();
    if (!firstWord || after >= clean.size() || !isBlank(clean[after])) continue;
    std::string name = nameAfter(clean, after);
    if (!name.empty()) facts.interfaces.push_back(std::move(name));
  }
  return facts;
}

bool isKnownEventName(std::string_view name) {
  return std::any_of(kEventNames.begin(), kEventNames.end(),
                     [&](std::string_view event) { return equalsIgnoringAsciiCase(event, name); });
}

HostCall hostCall(std::string_view name, int moduleTypeCode, const ModuleHostFacts& facts) {
  const ModuleType moduleType = moduleTypeOfCode(moduleTypeCode);
  for (const std::string_view macro : kAutoMacros)
    if (equalsIgnoringAsciiCase(name, macro))
      return {"Office-Anwendung", "Makro, das die Office-Anwendung von selbst startet"};
  if (moduleType != ModuleType::kStandardModule &&
      (equalsIgnoringAsciiCase(name, "Class_Initialize") || equalsIgnoringAsciiCase(name, "Class_Terminate")))
    return {"Klassenereignis", "Ereignis " + std::string(name.substr(6)) + " der Klasse"};
  for (const std::string& variable : facts.withEventsVariables)
    if (startsWithPrefixAndUnderscore(name, variable))
      return {"Ereignis von " + variable,
              "Ereignis " + std::string(name.substr(variable.size() + 1)) + " der WithEvents-Variablen " + variable};
  for (const std::string& interface : facts.interfaces)
    if (startsWithPrefixAndUnderscore(name, interface))
      return {"Schnittstelle " + interface,
              "Implementiert " + std::string(name.substr(interface.size() + 1)) + " der Schnittstelle " + interface};
  if (moduleType == ModuleType::kForm || moduleType == ModuleType::kDocumentModule || moduleType == ModuleType::kReport) {
    const std::size_t underscore = name.rfind('_');
    if (underscore != std::string_view::npos && underscore > 0 && isKnownEventName(name.substr(underscore + 1)))
      return {eventCaller(moduleType), "Ereignisprozedur: Ereignis " + std::string(name.substr(underscore + 1)) +
                                           " von " + std::string(name.substr(0, underscore))};
  }
  return {};
}

}  // namespace cq
