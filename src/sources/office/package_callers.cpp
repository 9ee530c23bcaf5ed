#include "sources/office/package_callers.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>
#include <string_view>

#include "sources/office/gsf_tree.h"
#include "text/ascii_case.h"

namespace cq {

namespace {

// No part of a package that binds macros comes near this size.
constexpr std::int64_t kMaxPartBytes = 64LL * 1024 * 1024;

// The callback attributes of the ribbon's schema (customUI of 2006 and 2009):
// each names a routine of the project.
constexpr std::array<std::string_view, 37> kRibbonCallbacks = {
    "onLoad",          "loadImage",        "onAction",         "getEnabled",           "getVisible",
    "getLabel",        "getImage",         "getKeytip",        "getScreentip",         "getSupertip",
    "getShowLabel",    "getShowImage",     "getSize",          "getDescription",       "getPressed",
    "onChange",        "getText",          "getItemCount",     "getItemLabel",         "getItemImage",
    "getItemID",       "getItemScreentip", "getItemSupertip",  "getSelectedItemID",    "getSelectedItemIndex",
    "getContent",      "getTitle",         "onShow",           "onHide",               "getHelperText",
    "getStyle",        "getTarget",        "getAltText",       "getHeader",            "getItemHeight",
    "getItemWidth",    "getPrimaryIcon"};

constexpr std::string_view kMacroAction = "ppaction://macro?name=";

// Form controls by their object type, as the report names them.
struct ControlName {
  std::string_view objectType;
  std::string_view german;
};
constexpr std::array<ControlName, 9> kControlNames = {{{"Button", "Schaltfläche"},
                                                       {"CheckBox", "Kontrollkästchen"},
                                                       {"Drop", "Kombinationsfeld"},
                                                       {"List", "Listenfeld"},
                                                       {"Radio", "Optionsfeld"},
                                                       {"Spin", "Drehfeld"},
                                                       {"Scroll", "Bildlaufleiste"},
                                                       {"GBox", "Gruppenfeld"},
                                                       {"Label", "Beschriftung"}}};

std::string controlName(std::string_view objectType) {
  for (const ControlName& each : kControlNames)
    if (equalsIgnoringAsciiCase(each.objectType, objectType)) return std::string(each.german);
  return "Steuerelement";
}

std::string text(QStringView view) { return view.toString().toStdString(); }

std::string attribute(const QXmlStreamReader& reader, const char* name) {
  return text(reader.attributes().value(QLatin1String(name)));
}

// The attribute of that local name, whatever its prefix ("wne:macroName").
std::string attributeByLocalName(const QXmlStreamReader& reader, const char* name) {
  for (const QXmlStreamAttribute& each : reader.attributes())
    if (each.name() == QLatin1String(name)) return text(each.value());
  return {};
}

constexpr std::string_view kMacroButton = "MACROBUTTON";

// The macro of a field instruction " MACROBUTTON Makro1 Hier klicken ".
std::string_view macroButtonMacro(std::string_view instruction) {
  instruction = trimBlanksAndTabs(instruction);
  if (!startsWithIgnoringAsciiCase(instruction, kMacroButton)) return {};
  instruction = trimBlanksAndTabs(instruction.substr(kMacroButton.size()));
  return instruction.substr(0, instruction.find_first_of(" \t"));
}

// The part's bytes; empty when it is missing or cannot be read.
std::string partText(GsfInfile* package, std::string_view path, const OfficeFile& file) {
  try {
    const GsfInputHandle entry = entryAtPath(package, path, file);
    if (!entry || isStorage(entry.get())) return {};
    return readWholeStream(entry.get(), path, file, kMaxPartBytes);
  } catch (const Failed&) {
    return {};
  }
}

// Calls `visit(reader)` at every start element of the XML, up to its end or
// its first error.
template <typename Visit>
void forEachElement(const std::string& xml, Visit&& visit) {
  QXmlStreamReader reader(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
  while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::Invalid)
    if (reader.isStartElement()) visit(reader);
}

// "xl/worksheets/_rels/sheet1.xml.rels" for "xl/worksheets/sheet1.xml".
std::string relationshipsPart(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  const std::string_view folder = slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
  const std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
  return std::string(folder).append("_rels/").append(name).append(".rels");
}

// A relationship's target as a part name, resolved against the source part's folder.
std::string resolvedTarget(std::string_view source, std::string_view target) {
  std::vector<std::string> segments;
  std::string_view rest = target;
  if (rest.starts_with('/')) {
    rest.remove_prefix(1);
  } else {
    std::string_view folder = source.substr(0, source.rfind('/') == std::string_view::npos ? 0 : source.rfind('/'));
    while (!folder.empty()) {
      const std::size_t slash = folder.find('/');
      segments.emplace_back(folder.substr(0, slash));
      folder = slash == std::string_view::npos ? std::string_view() : folder.substr(slash + 1);
    }
  }
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.emplace_back(segment);
    }
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
  }
  std::string path;
  for (const std::string& segment : segments) path.append(path.empty() ? "" : "/").append(segment);
  return path;
}

struct Relationship {
  std::string id;
  std::string type;    // the last part of the type's URI: "drawing", "worksheet", …
  std::string target;  // a part name
};

std::vector<Relationship> relationshipsOf(GsfInfile* package, std::string_view part, const OfficeFile& file) {
  std::vector<Relationship> relationships;
  forEachElement(partText(package, relationshipsPart(part), file), [&](const QXmlStreamReader& reader) {
    if (reader.name() != QLatin1String("Relationship") ||
        equalsIgnoringAsciiCase(attribute(reader, "TargetMode"), "External"))
      return;
    const std::string type = attribute(reader, "Type");
    relationships.push_back({attribute(reader, "Id"), type.substr(type.rfind('/') + 1),
                             resolvedTarget(part, attribute(reader, "Target"))});
  });
  return relationships;
}

class CallerCollector {
 public:
  CallerCollector(GsfInfile* package, const OfficeFile& file) : package_(package), file_(file) {}

  void ribbon(std::string_view part) {
    forEachElement(boundPart(part), [&](const QXmlStreamReader& reader) {
      for (const QXmlStreamAttribute& each : reader.attributes()) {
        const std::string name = text(each.name());
        for (const std::string_view callback : kRibbonCallbacks)
          if (name == callback) add(text(each.value()), "Menüband: " + name);
      }
    });
  }

  // A sheet's drawings, legacy drawings and form controls.
  void sheet(std::string_view part, const std::string& sheetName) {
    if (!read_.emplace(relationshipsPart(part)).second) return;  // a sheet named twice
    for (const Relationship& related : relationshipsOf(package_, part, file_)) {
      if (related.type == "drawing") shapes(related.target, " auf " + sheetName);
      if (related.type == "vmlDrawing") legacyControls(related.target, " auf " + sheetName);
      if (related.type == "ctrlProp") controlProperties(related.target, " auf " + sheetName);
    }
  }

  void slide(std::string_view part, const std::string& where) {
    forEachElement(boundPart(part), [&](const QXmlStreamReader& reader) {
      const std::string action = attribute(reader, "action");
      if (action.starts_with(kMacroAction)) add(action.substr(kMacroAction.size()), "Aktion" + where);
    });
  }

  // The workbook, presentation or Word document, told apart by its root element.
  void mainDocument(std::string_view part) {
    const std::string xml = boundPart(part);
    QXmlStreamReader reader(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
    if (!reader.readNextStartElement()) return;
    if (reader.name() == QLatin1String("workbook")) {
      // The sheets by name: <sheet name="Tabelle1" r:id="rId1"/>.
      forEachRelated(part, xml, "sheet", [&](const std::string& target, const QXmlStreamReader& sheetElement) {
        sheet(target, attribute(sheetElement, "name"));
      });
    } else if (reader.name() == QLatin1String("presentation")) {
      int number = 0;
      forEachRelated(part, xml, "sldId", [&](const std::string& target, const QXmlStreamReader&) {
        slide(target, " auf Folie " + std::to_string(++number));
      });
    } else if (reader.name() == QLatin1String("document")) {
      wordDocument(part, xml);
    }
  }

  // MACROBUTTON fields of a Word document, and the macros its key
  // combinations run (keyMapCustomizations: <wne:macro wne:macroName="…"/>).
  void wordDocument(std::string_view part, const std::string& xml) {
    forEachElement(xml, [&](QXmlStreamReader& reader) {
      const std::string instruction = reader.name() == QLatin1String("instrText") ? text(reader.readElementText())
                                      : reader.name() == QLatin1String("fldSimple") ? attributeByLocalName(reader, "instr")
                                                                                    : std::string();
      const std::string_view macro = macroButtonMacro(instruction);
      if (!macro.empty()) add(macro, "Makroschaltfläche im Dokument");
    });
    for (const Relationship& related : relationshipsOf(package_, part, file_)) {
      if (related.type != "keyMapCustomizations") continue;
      forEachElement(boundPart(related.target), [&](const QXmlStreamReader& reader) {
        if (reader.name() == QLatin1String("macro")) add(attributeByLocalName(reader, "macroName"), "Tastenkombination");
      });
    }
  }

  std::vector<DocumentCaller> take() { return std::move(callers_); }

 private:
  // Calls `visit(target, element)` for each element `name` of the part's XML,
  // in its order, with the part its r:id relationship names.
  template <typename Visit>
  void forEachRelated(std::string_view part, const std::string& xml, const char* name, Visit&& visit) {
    std::map<std::string, std::string> targets;  // by relationship id
    for (Relationship& each : relationshipsOf(package_, part, file_)) targets.emplace(each.id, std::move(each.target));
    forEachElement(xml, [&](const QXmlStreamReader& reader) {
      if (reader.name() != QLatin1String(name)) return;
      const auto target = targets.find(text(reader.attributes().value(
          QLatin1String("http://schemas.openxmlformats.org/officeDocument/2006/relationships"), QLatin1String("id"))));
      if (target != targets.end()) visit(target->second, reader);
    });
  }

  // A part that binds macros, read once however often relationships name it:
  // a hostile package must not make one large part be parsed again and again.
  std::string boundPart(std::string_view part) {
    if (!read_.emplace(part).second) return {};
    return partText(package_, part, file_);
  }

  void add(std::string_view reference, std::string caller) {
    DocumentCaller found = macroCaller(reference, std::move(caller));
    if (!found.routine.empty()) callers_.push_back(std::move(found));
  }

  // Shapes with a macro. A form control appears here too, inside an alternative
  // for newer readers; its control properties name it better.
  void shapes(std::string_view part, const std::string& where) {
    QXmlStreamReader reader(QByteArray::fromStdString(boundPart(part)));
    int alternatives = 0;
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::Invalid) {
      const bool alternative = reader.name() == QLatin1String("AlternateContent");
      if (reader.isEndElement() && alternative) --alternatives;
      if (!reader.isStartElement()) continue;
      if (alternative) ++alternatives;
      const std::string macro = attribute(reader, "macro");
      if (alternatives == 0 && !macro.empty()) add(macro, "Zeichnungsobjekt" + where);
    }
  }

  // Form controls of a legacy drawing: <x:ClientData ObjectType="Button"> holding <x:FmlaMacro>.
  void legacyControls(std::string_view part, const std::string& where) {
    std::string objectType;
    forEachElement(boundPart(part), [&](QXmlStreamReader& reader) {
      if (reader.name() == QLatin1String("ClientData")) objectType = attribute(reader, "ObjectType");
      if (reader.name() == QLatin1String("FmlaMacro")) add(text(reader.readElementText()), controlName(objectType) + where);
    });
  }

  void controlProperties(std::string_view part, const std::string& where) {
    forEachElement(boundPart(part), [&](const QXmlStreamReader& reader) {
      const std::string macro = attribute(reader, "fmlaMacro");
      if (!macro.empty()) add(macro, controlName(attribute(reader, "objectType")) + where);
    });
  }

  GsfInfile* package_;
  const OfficeFile& file_;
  std::vector<DocumentCaller> callers_;
  std::set<std::string, std::less<>> read_;
};

}  // namespace

std::vector<DocumentCaller> packageCallers(GsfInfile* package, const OfficeFile& file) {
  CallerCollector collector(package, file);
  for (const Relationship& each : relationshipsOf(package, "", file)) {
    if (each.type == "extensibility") collector.ribbon(each.target);
    if (each.type != "officeDocument") continue;
    collector.mainDocument(each.target);
  }
  return collector.take();
}

}  // namespace cq
