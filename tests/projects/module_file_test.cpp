#include "projects/module_file.h"

#include <gtest/gtest.h>

#include <random>

#include "projects/host_application.h"
#include "projects/text_decoding.h"
#include "render/text_replace.h"

namespace cq {
namespace {

const std::string kClassFile =
    "VERSION 1.0 CLASS\r\n"
    "BEGIN\r\n"
    "  MultiUse = -1  'True\r\n"
    "END\r\n"
    "Attribute VB_Name = \"Kunde\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\n"
    "Attribute VB_PredeclaredId = False\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Public Property Get Wert() As Long\r\n"
    "Attribute Wert.VB_UserMemId = 0\r\n"
    "  Wert = 1\r\n"
    "End Property\r\n";

TEST(ModuleFile, HeaderEndsAfterTheFirstRunOfAttributeLines) {
  const ModuleFileParts parts = splitModuleFile(kClassFile);
  EXPECT_EQ(parts.code.substr(0, 17), "Option Explicit\r\n");
  EXPECT_TRUE(parts.header.ends_with("Attribute VB_Exposed = False\r\n"));
  EXPECT_EQ(std::string(parts.header) + std::string(parts.code), kClassFile);
  // The attribute inside the property belongs to the code ...
  EXPECT_NE(parts.code.find("Attribute Wert.VB_UserMemId"), std::string_view::npos);
  EXPECT_EQ(moduleNameAttribute(parts.header), "Kunde");

  // ... but the editor's view hides it.
  const ModuleCode code(parts.code);
  EXPECT_EQ(code.countOfLines(), 4);
  EXPECT_EQ(code.lines(1, 4), "Option Explicit\r\nPublic Property Get Wert() As Long\r\n  Wert = 1\r\nEnd Property");
  EXPECT_EQ(code.lines(3, 1), "  Wert = 1");
  EXPECT_EQ(code.lines(3, 100), "  Wert = 1\r\nEnd Property");
  EXPECT_EQ(code.lines(5, 1), "");
  EXPECT_EQ(code.lines(0, 2), "");
  EXPECT_EQ(code.lines(1, 0), "");
}

TEST(ModuleFile, AttributeLinesAreRecognisedIgnoringCaseAndLeadingBlanks) {
  EXPECT_TRUE(isAttributeLine("Attribute VB_Name = \"X\""));
  EXPECT_TRUE(isAttributeLine("   attribute vb_name = \"X\""));
  EXPECT_TRUE(isAttributeLine("ATTRIBUTE "));
  EXPECT_FALSE(isAttributeLine("Attribute"));          // no blank after the word
  EXPECT_FALSE(isAttributeLine("Attributes = 1"));
  EXPECT_FALSE(isAttributeLine("' Attribute VB_Name"));
  EXPECT_FALSE(isAttributeLine("\tAttribute X"));      // only blanks are skipped

  const ModuleFileParts parts = splitModuleFile("  attribute VB_Name = \"Modul1\"\r\nSub A()\r\nEnd Sub\r\n");
  EXPECT_EQ(parts.code, "Sub A()\r\nEnd Sub\r\n");
  EXPECT_EQ(moduleNameAttribute(parts.header), "Modul1");
  EXPECT_EQ(moduleNameAttribute("ATTRIBUTE   vb_name=\"Ab c\"\r\n"), "Ab c");
  EXPECT_EQ(moduleNameAttribute("Attribute VB_Exposed = False\r\n"), "");
}

TEST(ModuleFile, TextWithoutOrOnlyAttributeLines) {
  // Without any attribute line everything is code (an older rule gave nothing).
  const std::string plain = "Option Explicit\r\nSub A()\r\nEnd Sub";
  EXPECT_EQ(splitModuleFile(plain).code, plain);
  EXPECT_EQ(splitModuleFile(plain).header, "");

  const ModuleFileParts onlyAttributes = splitModuleFile("Attribute VB_Name = \"X\"\r\nAttribute VB_Exposed = 0\r\n");
  EXPECT_EQ(onlyAttributes.code, "");
  EXPECT_EQ(ModuleCode(onlyAttributes.code).countOfLines(), 0);

  // A blank line ends the first run; later attribute lines stay in the code.
  const ModuleFileParts blankInside = splitModuleFile("Attribute A = 1\r\n\r\nAttribute B = 2\r\nSub X()\r\n");
  EXPECT_EQ(blankInside.code, "\r\nAttribute B = 2\r\nSub X()\r\n");
}

TEST(ModuleFile, LineCountIgnoresAFinalLineBreak) {
  EXPECT_EQ(ModuleCode("").countOfLines(), 0);
  EXPECT_EQ(ModuleCode("\r\n").countOfLines(), 1);
  EXPECT_EQ(ModuleCode("a").countOfLines(), 1);
  EXPECT_EQ(ModuleCode("a\r\nb\r\n").countOfLines(), 2);
  EXPECT_EQ(ModuleCode("a\r\n\r\n").countOfLines(), 2);
  EXPECT_EQ(ModuleCode("a\r\n\r\n").lines(1, 2), "a\r\n");
}

TEST(ModuleFile, ComponentTypeOfFiles) {
  EXPECT_EQ(moduleFileComponentType("Modul1.bas", "", "Modul1"), kStandardModule);
  EXPECT_EQ(moduleFileComponentType("dir.x/Modul1.BAS", "", "Modul1"), kStandardModule);
  EXPECT_EQ(moduleFileComponentType("Form1.frm", "", "Form1"), kUserForm);
  EXPECT_EQ(moduleFileComponentType("Kunde.cls", "Attribute VB_Name = \"Kunde\"\r\n", "Kunde"), kClassModule);
  EXPECT_EQ(moduleFileComponentType("ThisWorkbook.cls", "attribute vb_base = \"0{00020819}\"\r\n", "ThisWorkbook"),
            kDocumentModule);
  EXPECT_EQ(moduleFileComponentType("x.cls", "", "form_Kunden"), kDocumentModule);
  EXPECT_EQ(moduleFileComponentType("x.CLS", "", "REPORT_Umsatz"), kDocumentModule);
  EXPECT_EQ(moduleFileComponentType("Formular.cls", "", "Formular"), kClassModule);
  for (const char* designer : {"a.ctl", "a.dob", "a.dsr", "a.pag", "a.txt", "noextension", "x.bas/y"}) {
    EXPECT_EQ(moduleFileComponentType(designer, "", "a"), kDesignerComponent) << designer;
  }
}

TEST(ModuleFile, ArbitraryBytesGiveConsistentLines) {
  std::mt19937 random(20240611);
  const std::string pieces[] = {"\r", "\n", "Attribute X\r\n", "  attribute ", "\xC3\xA4", "\xE4", "a", " "};
  for (int round = 0; round < 500; ++round) {
    std::string bytes;
    for (int i = std::uniform_int_distribution<int>(0, 40)(random); i > 0; --i) {
      bytes += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(random)];
    }
    const std::string text = decodeSourceText(bytes).text;
    ASSERT_EQ(countOccurrences(text, "\r"), countOccurrences(text, "\r\n")) << bytes;
    ASSERT_EQ(countOccurrences(text, "\n"), countOccurrences(text, "\r\n")) << bytes;

    const ModuleFileParts parts = splitModuleFile(text);
    ASSERT_EQ(std::string(parts.header) + std::string(parts.code), text);
    const ModuleCode code(parts.code);
    const std::string all = code.lines(1, code.countOfLines());
    const std::size_t breaks = countOccurrences(all, "\r\n");
    ASSERT_TRUE(code.countOfLines() == 0 ? all.empty() : breaks + 1 == static_cast<std::size_t>(code.countOfLines()))
        << bytes;
    ASSERT_EQ(code.lines(1, code.countOfLines() + 5), all);
  }
}

}  // namespace
}  // namespace cq
