#pragma once
// Routines that the host application or the language calls by their name, so
// that no code names them: event procedures of document, form and report
// modules, the events of a class, handlers of variables declared WithEvents,
// implementations of interfaces named by Implements, and the macros an Office
// host runs by themselves (Auto_Open and its kin).
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// What a module declares that makes the host call routines of it by name.
struct ModuleHostFacts {
  std::vector<std::string> withEventsVariables;  // "Private WithEvents mX As T" gives mX
  std::vector<std::string> interfaces;           // "Implements IFoo" gives IFoo
};

// Reads the WithEvents declarations from a module file's marked-up text and the
// Implements lines from its clean text (the marked runs blanked), both in the
// declarations section before the first routine.
ModuleHostFacts moduleHostFacts(std::string_view marked, std::string_view clean);

// True for the names of the events that the hosts' documents, forms, reports and
// their controls raise (Click, Load, Open, …), ignoring case.
bool isKnownEventName(std::string_view name);

// Who calls a routine by name from outside the code, and why (German, for the report).
struct HostCall {
  std::string caller;  // "Ereignis von m_Button", "Schnittstelle IApp", "Formularereignis", …
  std::string reason;  // "Ereignis Click der WithEvents-Variablen m_Button", …
  bool empty() const { return caller.empty(); }
};

// Who calls routine `name` of a module of type code `moduleType` by its name;
// empty when nothing does.
HostCall hostCall(std::string_view name, int moduleType, const ModuleHostFacts& facts);

}  // namespace cq
