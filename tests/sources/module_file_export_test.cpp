#include "sources/module_file_export.h"

#include <gtest/gtest.h>

#include "sources/host_application.h"
#include "sources/module_file.h"
#include "sources/vba/code_page.h"
#include "sources/vba/vba_project_reader.h"
#include "support/golden.h"
#include "support/vba_project_writer.h"

namespace cq {
namespace {

// One module of each kind with the attribute lines an Office host stores in
// its streams, the procedure attributes of a class and a non-ASCII letter.
test::VbaProjectPlan exportPlan() {
  test::VbaProjectPlan plan;
  plan.name = "Lager";
  plan.modules = {
      {"Modul1", "", kStandardModule,
       "Option Explicit\r\n\r\nSub Z\xE4hle()\r\n  Debug.Print \"Gr\xFC\xDF"
       "e\"\r\nEnd Sub\r\n"},
      {"Kunde", "", kClassModule,
       "Attribute VB_Base = \"0{FCFB3D2A-A0FA-1068-A738-08002B3371B5}\"\r\n"
       "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
       "Attribute VB_PredeclaredId = False\r\nAttribute VB_Exposed = False\r\n"
       "Attribute VB_TemplateDerived = False\r\nAttribute VB_Customizable = False\r\n"
       "Option Explicit\r\nPublic Property Get Wert() As Long\r\nAttribute Wert.VB_UserMemId = 0\r\n"
       "  Wert = 1\r\nEnd Property"},
      {"DieseArbeitsmappe", "", kDocumentModule,
       "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\r\n"
       "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
       "Attribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = True\r\n"
       "Attribute VB_TemplateDerived = False\r\nAttribute VB_Customizable = True\r\n"
       "Private Sub Workbook_Open()\r\nEnd Sub\r\n"},
      {"Eingabe", "", kUserForm,
       "Attribute VB_Base = \"0{6A1B3E40-1C1E-4E0C-9E6B-1F1D1E1A1B1C}{0E3C3F00-0A0B-4C0D-8E0F-101112131415}\"\r\n"
       "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
       "Attribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\n"
       "Attribute VB_TemplateDerived = False\r\nAttribute VB_Customizable = False\r\n"
       "Private Sub UserForm_Click()\r\n  Me.Hide\r\nEnd Sub\r\n"},
  };
  return plan;
}

TEST(ModuleFileExport, EachKindIsWrittenAsTheEditorExportsIt) {
  const LoadedProject project = readVbaProject(test::MapVbaStorage(test::buildVbaProjectStreams(exportPlan())), "x", std::size_t{1} << 30);
  ASSERT_EQ(project.componentCount(), 4);
  for (const LoadedComponent& component : project.components()) {
    const std::string extension(moduleFileExtension(component.type(), component.name()));
    const std::string file = moduleFileText(component.name(), component.type(), component.source());
    EXPECT_TRUE(test::matchesGolden("export_" + component.name() + extension, *textToCodePage(file, 1252)));
    // Read back as a module file, the module has its name, kind and lines again.
    const ModuleFileParts parts = splitModuleFile(file);
    EXPECT_EQ(moduleNameAttribute(parts.header), component.name());
    EXPECT_EQ(moduleFileComponentType(component.name() + extension, parts.header, component.name()), component.type());
    const ModuleCode code(parts.code);
    EXPECT_EQ(code.lines(1, code.countOfLines()), component.lines(1, component.countOfLines()));
  }
  EXPECT_TRUE(moduleFileExtension(kDesignerComponent, "Steuerung").empty());
  // An Access form's module is a form file with the form header, and comes back
  // as the document module it was; a report's stays a class file.
  EXPECT_EQ(moduleFileExtension(kDocumentModule, "Report_Umsatz"), ".cls");
  EXPECT_EQ(moduleFileExtension(kDocumentModule, "form_Kunden"), ".frm");
  const std::string form = moduleFileText("Form_Kunden", kDocumentModule,
                                          "Attribute VB_PredeclaredId = True\r\nOption Compare Database\r\n");
  EXPECT_EQ(form, "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Form_Kunden\r\nEnd\r\n"
                  "Attribute VB_Name = \"Form_Kunden\"\r\nAttribute VB_PredeclaredId = True\r\n"
                  "Option Compare Database\r\n");
  EXPECT_EQ(moduleFileComponentType("Form_Kunden.frm", splitModuleFile(form).header, "Form_Kunden"), kDocumentModule);
}

TEST(ModuleFileExport, NameAttributeAndLineEnds) {
  // The name given wins over the stream's; no attribute line at all still gives a header.
  EXPECT_EQ(moduleFileText("Neu", kStandardModule, "Attribute VB_Name = \"Alt\"\r\nSub A()\r\nEnd Sub"),
            "Attribute VB_Name = \"Neu\"\r\nSub A()\r\nEnd Sub\r\n");
  EXPECT_EQ(moduleFileText("Leer", kStandardModule, ""), "Attribute VB_Name = \"Leer\"\r\n");
  // A line before the attributes is code: it and every later line stay as they are.
  EXPECT_EQ(moduleFileText("M", kClassModule, "\r\nAttribute VB_Base = \"0{1}\"\r\nx\r\n"),
            "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"M\"\r\n"
            "\r\nAttribute VB_Base = \"0{1}\"\r\nx\r\n");
  // sourceText keeps the attribute lines where they stood and ends every line.
  const ModuleCode code("Attribute A = 1\r\nx\r\n  attribute B\r\n\r\ny");
  EXPECT_EQ(code.sourceText(), "Attribute A = 1\r\nx\r\n  attribute B\r\n\r\ny\r\n");
  EXPECT_EQ(code.countOfLines(), 3);
  EXPECT_EQ(ModuleCode("").sourceText(), "");
  EXPECT_EQ(ModuleCode("\r\n").sourceText(), "\r\n");
  EXPECT_EQ(headerAttributes("VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"K\"\r\n"),
            "Attribute VB_Name = \"K\"\r\n");
  EXPECT_EQ(headerAttributes(""), "");
}

}  // namespace
}  // namespace cq
