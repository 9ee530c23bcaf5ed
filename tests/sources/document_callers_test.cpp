// The callers a document knows outside its code: ribbon callbacks, macros of
// shapes and form controls on sheets, macro actions on slides, events bound in
// Access form texts; read from generated documents and, where present, from
// the corpus, and counted by the report of routines nobody calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "analysis/unused_routines.h"
#include "codedb/code_database_index.h"
#include "projectfolder/module_texts.h"
#include "sources/document_loader.h"
#include "support/corpus.h"
#include "support/office_file_writer.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "support/vba_project_writer.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::multiset<std::string> callersOf(const LoadedProject& project) {
  std::multiset<std::string> callers;
  for (const DocumentCaller& each : project.documentCallers())
    callers.insert(each.module + "|" + each.routine + "|" + each.caller);
  return callers;
}

// "group routine caller" of every routine the report lists.
std::vector<std::string> unusedReport(const fs::path& project) {
  auto database = CodeDatabase::open(project).value();
  CodeDatabaseIndex index(*database);
  std::vector<std::string> listed;
  const auto unused = findUnusedRoutines(index, moduleFilesOf(project));
  if (!unused) return {unused.failure().text()};
  for (const UnusedRoutine& entry : unused.value())
    listed.push_back(std::string(groupKey(entry.group)) + " " + entry.routine.name + " " + entry.caller);
  return listed;
}

std::string relationships(const std::vector<std::array<const char*, 3>>& rows) {
  std::string xml = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (const auto& [id, type, target] : rows)
    xml += std::string("<Relationship Id=\"") + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
  return xml + "</Relationships>";
}

constexpr const char* kOfficeRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

test::StreamMap vbaProject() {
  test::VbaProjectPlan plan;
  plan.name = "Mappe";
  plan.modules = {
      {"Modul1", "", 1,
       "Sub Band_Klick(c)\r\nEnd Sub\r\nSub Band_Frei(c, ByRef b)\r\nEnd Sub\r\nSub Knopf()\r\nEnd Sub\r\n"
       "Sub Unbenutzt()\r\nEnd Sub\r\n"},
      {"Tabelle1", "", 100, "Attribute VB_Base = \"0{00020820-0000-0000-C000-000000000046}\"\r\n"
                            "Option Explicit\r\nSub Bild_Klick()\r\nEnd Sub\r\n"},
  };
  return test::buildVbaProjectStreams(plan);
}

std::string workbookWithBindings() {
  const std::string rel = kOfficeRelationships;
  return test::zipPackageBytes({
      {"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")},
      {"xl/vbaProject.bin", test::compoundFileBytes(vbaProject())},
      {"_rels/.rels",
       relationships({{"rId1", (rel + "officeDocument").c_str(), "xl/workbook.xml"},
                      {"rId2", "http://schemas.microsoft.com/office/2007/relationships/ui/extensibility",
                       "customUI/customUI14.xml"},
                      {"rId3", "http://schemas.microsoft.com/office/2006/relationships/ui/extensibility",
                       "/customUI/customUI.xml"}})},
      {"customUI/customUI14.xml",
       "<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\" onLoad=\"Band_Laden\">"
       "<ribbon><tabs><tab id=\"t\" label=\"onAction\"><group id=\"g\">"
       "<button id=\"b\" tag=\"getLabel\" onAction=\"Band_Klick\" getEnabled=\"Modul1.Band_Frei\"/>"
       "<dropDown id=\"d\" getItemCount=\"Band_Anzahl\" getSelectedItemIndex=\"Band_Auswahl\"/>"
       "</group></tab></tabs></ribbon></customUI>"},
      // Damaged behind its first button: what comes before counts.
      {"customUI/customUI.xml",
       "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"><ribbon>"
       "<button id=\"b\" onAction=\"Band_Klick\"/><kaputt"},
      {"xl/workbook.xml",
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
           rel.substr(0, rel.size() - 1) +
           "\"><sheets><sheet name=\"Tabelle 1\" sheetId=\"1\" r:id=\"rId1\"/>"
           "<sheet name=\"Leer\" sheetId=\"2\" r:id=\"rId7\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       relationships({{"rId1", (rel + "worksheet").c_str(), "worksheets/sheet1.xml"},
                      {"rId7", (rel + "worksheet").c_str(), "worksheets/sheet2.xml"}})},
      {"xl/worksheets/sheet1.xml", "<worksheet/>"},
      {"xl/worksheets/_rels/sheet1.xml.rels",
       relationships({{"rId1", (rel + "drawing").c_str(), "../drawings/drawing1.xml"},
                      {"rId2", (rel + "vmlDrawing").c_str(), "../drawings/vmlDrawing1.vml"},
                      {"rId3", (rel + "ctrlProp").c_str(), "../ctrlProps/ctrlProp1.xml"},
                      {"rId4", (rel + "ctrlProp").c_str(), "/xl/ctrlProps/ctrlProp2.xml"},
                      // Named twice, read once.
                      {"rId5", (rel + "drawing").c_str(), "./../drawings/drawing1.xml"}})},
      {"xl/drawings/drawing1.xml",
       "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
       "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
       "<xdr:twoCellAnchor><xdr:sp macro=\"[0]!Form_Makro\" textlink=\"\"/></xdr:twoCellAnchor>"
       "<mc:AlternateContent><mc:Choice Requires=\"a14\"><xdr:twoCellAnchor><xdr:sp macro=\"[0]!Knopf\"/>"
       "</xdr:twoCellAnchor></mc:Choice></mc:AlternateContent>"
       "<xdr:twoCellAnchor><xdr:pic macro=\"'Mappe 1.xlsm'!Tabelle1.Bild_Klick\"/></xdr:twoCellAnchor>"
       "<xdr:twoCellAnchor><xdr:sp macro=\"\"/></xdr:twoCellAnchor></xdr:wsDr>"},
      {"xl/drawings/vmlDrawing1.vml",
       "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\">"
       "<v:shape><x:ClientData ObjectType=\"Button\"><x:FmlaMacro>[0]!Knopf</x:FmlaMacro></x:ClientData></v:shape>"
       "<v:shape><x:ClientData ObjectType=\"Checkbox\"><x:FmlaMacro>Haken</x:FmlaMacro></x:ClientData></v:shape>"
       "</xml>"},
      {"xl/ctrlProps/ctrlProp1.xml", "<formControlPr objectType=\"Button\" fmlaMacro=\"[0]!Knopf\"/>"},
      {"xl/ctrlProps/ctrlProp2.xml", "<formControlPr objectType=\"Drop\" fmlaMacro=\"Auswahl_Geaendert\"/>"},
  });
}

TEST(DocumentCallers, AWorkbookBindsRibbonCallbacksShapesAndFormControls) {
  test::TempFolder temp;
  const fs::path document = temp.writeFile("Mappe 1.xlsm", workbookWithBindings());
  const LoadedProject loaded = loadDocument(document);
  ASSERT_EQ(loaded.loadError(), "");
  EXPECT_EQ(callersOf(loaded), (std::multiset<std::string>{
                                   "|Band_Laden|Menüband: onLoad",
                                   "|Band_Klick|Menüband: onAction",
                                   "|Band_Klick|Menüband: onAction",
                                   "Modul1|Band_Frei|Menüband: getEnabled",
                                   "|Band_Anzahl|Menüband: getItemCount",
                                   "|Band_Auswahl|Menüband: getSelectedItemIndex",
                                   "|Form_Makro|Zeichnungsobjekt auf Tabelle 1",
                                   "Tabelle1|Bild_Klick|Zeichnungsobjekt auf Tabelle 1",
                                   "|Knopf|Schaltfläche auf Tabelle 1",
                                   "|Knopf|Schaltfläche auf Tabelle 1",
                                   "|Haken|Kontrollkästchen auf Tabelle 1",
                                   "|Auswahl_Geaendert|Kombinationsfeld auf Tabelle 1",
                               }));

  // Read into a project folder, the bound routines are called by the host.
  ASSERT_TRUE(test::readDocumentIntoFolder(document, temp.path() / "projekt"));
  EXPECT_EQ(unusedReport(temp.path() / "projekt"),
            (std::vector<std::string>{"host Band_Klick Menüband: onAction", "host Band_Frei Menüband: getEnabled",
                                      "host Knopf Schaltfläche auf Tabelle 1", "unbenutzt Unbenutzt ",
                                      "host Bild_Klick Zeichnungsobjekt auf Tabelle 1"}));
}

TEST(DocumentCallers, APresentationBindsMacroActionsOfItsSlides) {
  test::TempFolder temp;
  const std::string rel = kOfficeRelationships;
  const fs::path document = temp.writeFile(
      "Folien.pptm",
      test::zipPackageBytes({
          {"[Content_Types].xml", test::contentTypesXml("/ppt/vbaProject.bin")},
          {"ppt/vbaProject.bin", test::compoundFileBytes(vbaProject())},
          {"_rels/.rels", relationships({{"rId1", (rel + "officeDocument").c_str(), "ppt/presentation.xml"}})},
          {"ppt/presentation.xml",
           "<p:presentation xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" xmlns:r=\"" +
               rel.substr(0, rel.size() - 1) +
               "\"><p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/><p:sldId id=\"257\" r:id=\"rId3\"/>"
               "</p:sldIdLst></p:presentation>"},
          {"ppt/_rels/presentation.xml.rels", relationships({{"rId2", (rel + "slide").c_str(), "slides/slide1.xml"},
                                                             {"rId3", (rel + "slide").c_str(), "slides/slide2.xml"}})},
          {"ppt/slides/slide1.xml", "<p:sld xmlns:p=\"p\"/>"},
          {"ppt/slides/slide2.xml",
           "<p:sld xmlns:p=\"p\" xmlns:a=\"a\"><a:hlinkClick action=\"ppaction://macro?name=Modul1.Knopf\"/>"
           "<a:hlinkClick action=\"ppaction://hlinkshowjump?jump=nextslide\"/></p:sld>"},
      }));
  const LoadedProject loaded = loadDocument(document);
  ASSERT_EQ(loaded.loadError(), "");
  EXPECT_EQ(callersOf(loaded), (std::multiset<std::string>{"Modul1|Knopf|Aktion auf Folie 2"}));
}

TEST(DocumentCallers, AWordDocumentBindsMacroButtonsAndKeyCombinations) {
  test::TempFolder temp;
  const std::string rel = kOfficeRelationships;
  const fs::path document = temp.writeFile(
      "Brief.docm",
      test::zipPackageBytes({
          {"[Content_Types].xml", test::contentTypesXml("/word/vbaProject.bin")},
          {"word/vbaProject.bin", test::compoundFileBytes(vbaProject())},
          {"_rels/.rels", relationships({{"rId1", (rel + "officeDocument").c_str(), "word/document.xml"}})},
          {"word/document.xml",
           "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
           "<w:p><w:r><w:instrText xml:space=\"preserve\"> MACROBUTTON  Knopf Hier klicken </w:instrText></w:r></w:p>"
           "<w:p><w:fldSimple w:instr=\" macrobutton Modul1.Band_Klick Los \"/></w:p>"
           "<w:p><w:r><w:instrText> PAGE </w:instrText></w:r></w:p></w:body></w:document>"},
          {"word/_rels/document.xml.rels",
           relationships({{"rId9", "http://schemas.microsoft.com/office/2006/relationships/keyMapCustomizations",
                           "customizations.xml"}})},
          {"word/customizations.xml",
           "<wne:tcg xmlns:wne=\"http://schemas.microsoft.com/office/word/2006/wordml\"><wne:keymaps>"
           "<wne:keymap wne:kcmPrimary=\"0441\"><wne:macro wne:macroName=\"PROJECT.MODUL1.UNBENUTZT\"/></wne:keymap>"
           "</wne:keymaps></wne:tcg>"},
      }));
  const LoadedProject loaded = loadDocument(document);
  ASSERT_EQ(loaded.loadError(), "");
  EXPECT_EQ(callersOf(loaded), (std::multiset<std::string>{"|Knopf|Makroschaltfläche im Dokument",
                                                           "Modul1|Band_Klick|Makroschaltfläche im Dokument",
                                                           "MODUL1|UNBENUTZT|Tastenkombination"}));
  ASSERT_TRUE(test::readDocumentIntoFolder(document, temp.path() / "projekt"));
  EXPECT_EQ(unusedReport(temp.path() / "projekt"),
            (std::vector<std::string>{"host Band_Klick Makroschaltfläche im Dokument", "unbenutzt Band_Frei ",
                                      "host Knopf Makroschaltfläche im Dokument", "host Unbenutzt Tastenkombination",
                                      "unbenutzt Bild_Klick "}))
      << "names of routines and modules ignore case";
}

TEST(DocumentCallers, AccessFormAndReportCodeInFoldersIsTheirDocumentModule) {
  test::TempFolder temp;
  const fs::path sources = temp.path() / "quellen";
  const std::string classHeader = "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = True\r\n";
  temp.writeFile("quellen/forms/Kunden.cls",
                 classHeader +
                     "Option Compare Database\r\nPrivate Sub Form_Load()\r\nEnd Sub\r\nPrivate Sub cmdOK_Click()\r\n"
                     "End Sub\r\nPrivate Sub txtName_Geaendert()\r\nEnd Sub\r\n");
  // The form's text as Access writes it, with a code part that is no part of it.
  temp.writeFile("quellen/forms/Kunden.bas",
                 "\xEF\xBB\xBFVersion =20\nVersionRequired =20\nBegin Form\n    OnLoad =\"[Event Procedure]\"\n"
                 "    RecSrcDt = Begin\n        0x21\n    End\n    Begin\n        Begin Label\n"
                 "            OnClick =\"[Event Procedure]\"\n        End\n    End\n    Begin Section\n"
                 "        Name =\"Detail\"\n        OnFormat =\"[Event Procedure]\"\n        Begin\n"
                 "            Begin CommandButton\n                OnClick =\"[Event Procedure]\"\n"
                 "                Name =\"cmdOK\"\n            End\n            Begin TextBox\n"
                 "                Name =\"txtName\"\n                OnChange =\"=Pruefe()\"\n"
                 "                AfterUpdate =\"[Event Procedure]\"\n            End\n        End\n    End\n"
                 "End\nCodeBehindForm\nBegin Fake\n    OnClick =\"[Event Procedure]\"\nEnd\n");
  temp.writeFile("quellen/reports/Bericht.cls", classHeader + "Option Explicit\r\nPrivate Sub Report_Open(Cancel As Integer)\r\nEnd Sub\r\n");
  temp.writeFile("quellen/Lose.cls", classHeader + "Option Explicit\r\nPrivate Sub Report_NoData(Cancel As Integer)\r\nEnd Sub\r\n");
  temp.writeFile("quellen/Lose.report", "Version =20\r\nBegin Report\r\n    OnNoData =\"[Event Procedure]\"\r\nEnd\r\n");
  temp.writeFile("quellen/Modul.bas", "Attribute VB_Name = \"Modul\"\r\nOption Explicit\r\nSub Form_Load()\r\nEnd Sub\r\n");

  const LoadedProject loaded = loadDocument(sources);
  ASSERT_EQ(loaded.loadError(), "");
  std::string kinds;
  for (long i = 1; i <= loaded.componentCount(); ++i)
    kinds += loaded.component(i).name() + ":" + std::to_string(loaded.component(i).type()) + " ";
  EXPECT_EQ(kinds, "Form_Kunden:100 Report_Lose:100 Modul:1 Report_Bericht:100 ") << "the form's text is no module";
  EXPECT_EQ(callersOf(loaded), (std::multiset<std::string>{
                                   "Kunden|Form_Load|Formularereignis", "Kunden|Detail_Format|Formularereignis",
                                   "Kunden|cmdOK_Click|Formularereignis", "Kunden|txtName_AfterUpdate|Formularereignis",
                                   "Lose|Report_NoData|Berichtsereignis"}));

  ASSERT_TRUE(test::readModuleFolder(sources, temp.path() / "projekt"));
  EXPECT_EQ(unusedReport(temp.path() / "projekt"),
            (std::vector<std::string>{"host Form_Load Formularereignis", "host cmdOK_Click Formularereignis",
                                      "unbenutzt txtName_Geaendert ", "host Report_NoData Berichtsereignis",
                                      "unbenutzt Form_Load ", "host Report_Open Berichtsereignis"}));
}

// One record of a binary workbook: type, length, data.
std::string biffRecord(std::uint16_t type, const std::string& data) {
  const auto u16 = [](std::size_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; };
  return u16(type) + u16(data.size()) + data;
}

std::string u16le(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string u32le(std::uint32_t v) { return u16le(v & 0xFFFF) + u16le(v >> 16); }

// An object record: its type, and a macro formula of `tokens` where there are any.
std::string objRecord(std::uint16_t objectType, const std::string& tokens) {
  std::string data = u16le(0x15) + u16le(18) + u16le(objectType) + std::string(16, '\0');
  if (!tokens.empty())
    data += u16le(0x04) + u16le(8 + tokens.size()) + u16le(6 + tokens.size()) + u16le(tokens.size()) +
            std::string(4, '\0') + tokens;
  return biffRecord(0x005D, data + u16le(0) + u16le(0));
}

std::string workbookStream() {
  const std::string bof = biffRecord(0x0809, u16le(0x0600) + u16le(0x0005) + std::string(12, '\0'));
  const std::string eof = biffRecord(0x000A, "");
  const auto name = [](const std::string& text, std::uint16_t flags = 0) {
    return biffRecord(0x0018, u16le(flags) + std::string(1, '\0') + std::string(1, static_cast<char>(text.size())) +
                                  std::string(10, '\0') + std::string(1, '\0') + text);
  };
  // Sheet 1: a button whose macro is an external name of this workbook, an
  // embedded chart, a shape with a defined name, a check box without macro.
  const std::string sheet1 = bof + objRecord(0x07, "\x39" + u16le(0) + u32le(3)) + bof + objRecord(0x07, "\x23" + u32le(1)) +
                             eof + objRecord(0x1E, "\x23" + u32le(1)) + objRecord(0x0B, "") + eof;
  // Sheet 2, named in UTF-16: a built-in name, a name beyond the list, a formula cut off, a drop-down.
  const std::string sheet2 =
      bof + objRecord(0x07, "\x43" + u32le(2)) + objRecord(0x07, "\x43" + u32le(9)) + objRecord(0x07, "\x39\x01") +
      objRecord(0x14, "\x23" + u32le(1)) + eof;
  std::string globals;
  const auto sheetEntry = [](std::uint32_t at, const std::string& nameBytes, std::size_t length, bool wide) {
    return biffRecord(0x0085, u32le(at) + std::string(2, '\0') + static_cast<char>(length) +
                                  static_cast<char>(wide ? 1 : 0) + nameBytes);
  };
  const std::string rest = biffRecord(0x0017, u16le(1) + u16le(0) + u16le(0xFFFE) + u16le(0xFFFE)) +
                           biffRecord(0x01AE, u16le(1) + u16le(0x0401)) + name("Makro1") + name("\x06", 0x0020) +
                           name("Modul1.Knopf") + eof;
  const std::string wideName = std::string("\xDC\0b\0e\0r\0", 8);  // "Über"
  const std::size_t globalsSize = bof.size() + (4 + 8 + 8) + (4 + 8 + wideName.size()) + rest.size();
  globals = bof + sheetEntry(globalsSize, "Tabelle1", 8, false) +
            sheetEntry(globalsSize + sheet1.size(), wideName, 4, true) + rest;
  return globals + sheet1 + sheet2;
}

TEST(DocumentCallers, ABinaryWorkbookBindsTheMacrosOfItsObjects) {
  test::TempFolder temp;
  test::StreamMap streams = test::belowStorage("_VBA_PROJECT_CUR", vbaProject());
  streams.emplace("Workbook", workbookStream());
  const LoadedProject loaded = loadDocument(temp.writeFile("Mappe.xls", test::compoundFileBytes(streams)));
  ASSERT_EQ(loaded.loadError(), "");
  EXPECT_EQ(callersOf(loaded), (std::multiset<std::string>{"Modul1|Knopf|Schaltfläche auf Tabelle1",
                                                           "|Makro1|Schaltfläche auf Tabelle1",
                                                           "|Makro1|Zeichnungsobjekt auf Tabelle1",
                                                           "|Makro1|Kombinationsfeld auf Über"}));
  // Encrypted: no bindings, and the code is read as before.
  streams["Workbook"] = biffRecord(0x0809, u16le(0x0600) + u16le(5) + std::string(12, '\0')) + biffRecord(0x002F, "x");
  EXPECT_TRUE(loadDocument(temp.writeFile("Geheim.xls", test::compoundFileBytes(streams))).documentCallers().empty());
}

// The corpus's projects whose callers sit outside the code: what the report
// makes of them.
TEST(DocumentCallers, CorpusRibbonFormAndOneLineCallersAreKnown) {
  CQ_SKIP_WITHOUT_CORPUS();
  const fs::path corpus = test::corpusRoot();
  test::TempFolder temp;
  const auto reportOf = [&](const fs::path& source, const std::string& folder) {
    EXPECT_TRUE(test::readDocumentIntoFolder(source, temp.path() / folder)) << source;
    return unusedReport(temp.path() / folder);
  };
  const auto entryOf = [](const std::vector<std::string>& report, const std::string& routine) {
    for (const std::string& line : report)
      if (line.find(" " + routine + " ") != std::string::npos) return line;
    return std::string("not listed");
  };

  const std::vector<std::string> ribbon = reportOf(corpus / "tkdesign__userfunc_ru/dist/userfunc_ru.xlam", "ribbon");
  EXPECT_GE(std::count_if(ribbon.begin(), ribbon.end(),
                          [](const std::string& line) { return line.find(" Menüband: ") != std::string::npos; }),
            60)
      << "the add-in's ribbon callbacks";

  for (const fs::path& access : {corpus / "AccessCodeLib__AccUnit/access-add-in/AccUnitLoader.accda",
                                 corpus / "AccessCodeLib__AccUnit/access-add-in/source"}) {
    const std::vector<std::string> report = reportOf(access, access.extension().empty() ? "ordner" : "accda");
    for (const char* handler : {"Form_Load", "Form_Open", "Form_Timer", "Form_Unload", "cmdClose_Click",
                                "txtAccUnitDllPath_AfterUpdate", "txtAccUnitDllPath_BeforeUpdate"})
      EXPECT_EQ(entryOf(report, handler).substr(0, 5), "host ") << access << " " << handler;
  }

  const std::vector<std::string> scroll =
      reportOf(corpus / "cristianbuse__VBA-UserForm-MouseScroll/VBA UserForm MouseScroll_DEMO.xlsm", "scroll");
  EXPECT_EQ(entryOf(scroll, "SetHoveredControl"), "not listed") << "called from one-line routines";
}

}  // namespace
}  // namespace cq
