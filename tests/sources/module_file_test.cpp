#include "sources/module_file.h"

#include <gtest/gtest.h>

#include <random>

#include "sources/host_application.h"
#include "text/text_decoding.h"
#include "text/text_replace.h"

namespace cq {
namespace {

TEST(ModuleFile, HeaderIsTheFirstRunOfAttributeLinesAndTheEditorHidesTheRest) {
  const std::string classFile =
      "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"Kunde\"\r\n"
      "Attribute VB_Exposed = False\r\nOption Explicit\r\nPublic Property Get Wert() As Long\r\n"
      "Attribute Wert.VB_UserMemId = 0\r\n  Wert = 1\r\nEnd Property\r\n";
  const ModuleFileParts parts = splitModuleFile(classFile);
  EXPECT_TRUE(parts.header.ends_with("Attribute VB_Exposed = False\r\n"));
  EXPECT_EQ(std::string(parts.header) + std::string(parts.code), classFile);
  EXPECT_NE(parts.code.find("Attribute Wert.VB_UserMemId"), std::string_view::npos);  // in the code ...
  EXPECT_EQ(moduleNameAttribute(parts.header), "Kunde");
  const ModuleCode code(parts.code);  // ... but hidden from the editor's view
  EXPECT_EQ(code.countOfLines(), 4);
  EXPECT_EQ(code.lines(1, 4), "Option Explicit\r\nPublic Property Get Wert() As Long\r\n  Wert = 1\r\nEnd Property");
  EXPECT_EQ(code.lines(3, 100), "  Wert = 1\r\nEnd Property");
  for (const auto& [from, count] : {std::pair{5L, 1L}, {0L, 2L}, {1L, 0L}}) EXPECT_EQ(code.lines(from, count), "");
  // Attribute lines ignore case and leading blanks (not tabs), and need a blank after the word.
  for (const char* yes : {"Attribute VB_Name = 1", "   attribute x", "ATTRIBUTE "}) EXPECT_TRUE(isAttributeLine(yes));
  for (const char* no : {"Attribute", "Attributes = 1", "' Attribute X", "\tAttribute X"}) {
    EXPECT_FALSE(isAttributeLine(no)) << no;
  }
  EXPECT_EQ(moduleNameAttribute("ATTRIBUTE   vb_name=\"Ab c\"\r\n"), "Ab c");
  EXPECT_EQ(moduleNameAttribute("Attribute VB_Exposed = False\r\n"), "");
  // Without attribute lines all is code; a blank line ends the first run.
  const std::string plain = "Option Explicit\r\nSub A()\r\nEnd Sub";
  EXPECT_EQ(splitModuleFile(plain).code, plain);
  EXPECT_EQ(splitModuleFile("Attribute VB_Name = \"X\"\r\nAttribute VB_Exposed = 0\r\n").code, "");
  EXPECT_EQ(splitModuleFile("Attribute A = 1\r\n\r\nAttribute B = 2\r\n").code, "\r\nAttribute B = 2\r\n");
  // The line count ignores a final line break.
  for (const auto& [text, lines] :
       {std::pair{"", 0L}, {"\r\n", 1L}, {"a", 1L}, {"a\r\nb\r\n", 2L}, {"a\r\n\r\n", 2L}}) {
    EXPECT_EQ(ModuleCode(text).countOfLines(), lines) << text;
  }
  EXPECT_EQ(ModuleCode("a\r\n\r\n").lines(1, 2), "a\r\n");
}

TEST(ModuleFile, ComponentTypeOfFiles) {
  const std::tuple<const char*, const char*, const char*, int> cases[] = {
      {"dir.x/Modul1.BAS", "", "Modul1", kStandardModule},
      {"Form1.frm", "", "Form1", kUserForm},
      {"Kunde.cls", "Attribute VB_Name = \"Kunde\"\r\n", "Kunde", kClassModule},
      {"ThisWorkbook.cls", "attribute vb_base = \"0{00020819}\"\r\n", "ThisWorkbook", kDocumentModule},
      {"x.cls", "", "form_Kunden", kDocumentModule},
      {"x.CLS", "", "REPORT_Umsatz", kDocumentModule},
      {"Formular.cls", "", "Formular", kClassModule}};
  for (const auto& [file, header, name, type] : cases) {
    EXPECT_EQ(moduleFileComponentType(file, header, name), type) << file;
  }
  for (const char* designer : {"a.ctl", "a.dob", "a.dsr", "a.pag", "a.txt", "noextension", "x.bas/y"}) {
    EXPECT_EQ(moduleFileComponentType(designer, "", "a"), kDesignerComponent) << designer;
  }
}

TEST(ModuleFile, ArbitraryBytesGiveConsistentLines) {
  std::mt19937 random(20240611);
  const std::string pieces[] = {"\r", "\n", "Attribute X\r\n", "  attribute ", "\xC3\xA4", "\xE4", "a", " "};
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    for (int i = random() % 41; i > 0; --i) bytes += pieces[random() % std::size(pieces)];
    const std::string text = decodeSourceText(bytes).text;
    ASSERT_EQ(countOccurrences(text, "\r") + countOccurrences(text, "\n"), 2 * countOccurrences(text, "\r\n")) << bytes;
    const ModuleFileParts parts = splitModuleFile(text);
    ASSERT_EQ(std::string(parts.header) + std::string(parts.code), text);
    const ModuleCode code(parts.code);
    const std::string all = code.lines(1, code.countOfLines());
    const auto lines = static_cast<std::size_t>(code.countOfLines());
    ASSERT_EQ(lines == 0 ? 0 : countOccurrences(all, "\r\n") + 1, lines) << bytes;
    ASSERT_EQ(code.lines(1, code.countOfLines() + 5), all);
  }
}

TEST(TextDecoding, Utf8AndWindows1252InputsGiveTheSameText) {
  // "Größe" written as UTF-8 with a BOM, as UTF-8 without, and as Windows-1252.
  const std::string expected = "Größe\r\n";
  EXPECT_EQ(decodeSourceText("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\n").text, expected);
  EXPECT_EQ(decodeSourceText("Gr\xC3\xB6\xC3\x9F" "e\r\n").text, expected);
  EXPECT_EQ(decodeSourceText("Gr\xF6\xDF" "e\r").text, expected);
  EXPECT_EQ(decodeSourceText("\xEF\xBB\xBF" "Sub A()").text, "Sub A()");
  EXPECT_EQ(decodeSourceText("").text, "");
  // One invalid sequence makes the whole text Windows-1252, valid-looking parts too; overlong
  // forms, encoded surrogates and a sequence cut off at the end are not UTF-8.
  for (const char* windows1252 : {"\xC3\xA4 \xE4", "\xC0\xAF", "\xED\xA0\x80", "ab\xE2\x82"}) {
    const DecodedText kept = decodeSourceText(windows1252);
    EXPECT_EQ(kept.text, windows1252ToUtf8(windows1252));
    EXPECT_EQ(kept.replaced, 0u);
  }
  // Characters beyond Windows-1252 are kept.
  EXPECT_EQ(decodeSourceText("\xE2\x82\xAC \xE4\xB8\xAD\xF0\x9F\x98\x80 Цвет").text, "€ 中😀 Цвет");
}

TEST(TextDecoding, Windows1252RoundTripsAndRefusesWhatItCannotHold) {
  // The five undefined bytes stand for the C1 controls of the same value.
  EXPECT_EQ(utf8ToWindows1252("\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"), "\x81\x8D\x8F\x90\x9D");
  EXPECT_EQ(utf8ToWindows1252("€ „x“ Ÿ"), "\x80 \x84x\x93 \x9F");
  EXPECT_EQ(utf8ToWindows1252("\xC2\x80"), std::nullopt);  // U+0080 is not byte 0x80 (the euro)
  EXPECT_EQ(utf8ToWindows1252("Цвет"), std::nullopt);
  EXPECT_EQ(utf8ToWindows1252("a\xFF"), std::nullopt);  // no UTF-8
  // Every Windows-1252 byte survives the round trip.
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(windows1252ToUtf8("\x80\x9F\xE4"), "€Ÿä");
  EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}

TEST(TextDecoding, ModuleFilesAreWindows1252WhereTheyCanBeElseUtf8WithABom) {
  EXPECT_EQ(encodeModuleFileText("Größe € Ÿ|?"), "Gr\xF6\xDF" "e \x80 \x9F|?");
  EXPECT_EQ(encodeModuleFileText("Цвет"), "\xEF\xBB\xBF" "Цвет");
  for (const std::string text : {"Größe € Ÿ", "Цвет Ä 日本", "", "\r\n"})
    EXPECT_EQ(decodeModuleFileText(encodeModuleFileText(text)), text);
  EXPECT_EQ(decodeModuleFileText("Gr\xF6\xDF" "e"), "Größe");  // a module file of an earlier version
}

TEST(TextDecoding, LineEndsBecomeCrLf) {
  EXPECT_EQ(normalizeLineEnds("a\r\nb\nc\rd\r\n\r\ne\n\rf"), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf");
  EXPECT_EQ(normalizeLineEnds("\r") + normalizeLineEnds("x"), "\r\nx");
  EXPECT_EQ(decodeSourceText("\xC3\xA4\n\xC3\xB6\r").text, "ä\r\nö\r\n");
}

}  // namespace
}  // namespace cq
