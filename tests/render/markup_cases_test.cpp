// Edge cases of the mark-up and the module scanner, checked on the real implementation.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "render/markers.h"
#include "render/markup.h"
#include "support/recording_sink.h"
#include "support/text_difference.h"

namespace {

namespace mk = cq::markers;
using cq::MarkupOptions;
using cq::test::escapedBytes;

// Builders of expected marked-up text.
std::string kw(std::string_view word) { return std::string(mk::kKeyword) + std::string(word) + std::string(mk::kEnd); }
std::string str(std::string_view literal) {
  return std::string(mk::kString) + std::string(literal) + std::string(mk::kEnd);
}
std::string rem(std::string_view comment) {
  return std::string(mk::kComment) + std::string(comment) + std::string(mk::kEnd);
}
std::string bold(std::string_view line) { return std::string(mk::kBold) + std::string(line) + std::string(mk::kBoldEnd); }
// Module text: every line ends in CR LF.
std::string lines(const std::vector<std::string>& each) {
  std::string out;
  for (const std::string& line : each) out += line + "\r\n";
  return out;
}
// Code as the host hands it over: lines separated by CR LF, no line break at the end.
std::string source(const std::vector<std::string>& each) {
  std::string out = lines(each);
  return out.substr(0, out.size() - 2);
}

MarkupOptions layout(bool leer, bool einr, bool rle, bool rer) {
  MarkupOptions options;
  options.removeEmptyLines = leer;
  options.reindent = einr;
  options.blankLineBeforeRoutines = rle;
  options.indentRoutineBodies = rer;
  return options;
}

struct ModuleRead {
  std::string text;
  cq::test::RecordingSink sink;
  std::vector<cq::ScanWarning> warnings;
  std::int64_t counter = 0;

  const cq::test::RecordingSink::Routine* number(std::int64_t n) const {
    for (const auto& r : sink.routines) {
      if (r.row.number == n) return &r;
    }
    return nullptr;
  }
};

void readModule(ModuleRead& read, std::string_view code, const MarkupOptions& options = {},
                std::int64_t counterStart = 0) {
  read.counter = counterStart;
  cq::ModuleScan scan;
  scan.moduleNumber = 3;
  scan.moduleType = 2;
  scan.moduleName = "Modul3";
  scan.routineCounter = &read.counter;
  scan.sink = &read.sink;
  scan.warnings = &read.warnings;
  scan.blankLineBeforeRoutines = options.blankLineBeforeRoutines;
  scan.indentRoutineBodies = options.reindent && options.indentRoutineBodies;
  read.text = cq::markUpModule(code, options, scan);
}

// Marks up one line in module mode and returns it without its line break.
std::string markedLine(std::string_view code) {
  ModuleRead read;
  readModule(read, code);
  EXPECT_EQ(read.text.substr(read.text.size() >= 2 ? read.text.size() - 2 : 0), "\r\n");
  return read.text.size() >= 2 ? read.text.substr(0, read.text.size() - 2) : read.text;
}

#define EXPECT_TEXT(expected, actual)                                                       \
  do {                                                                                      \
    const std::string difference = cq::test::firstDifference((expected), (actual));         \
    EXPECT_TRUE(difference.empty()) << difference;                                          \
  } while (false)

TEST(MarkupCases, KeywordsStringsAndComments) {
  EXPECT_TEXT(kw("Option") + " " + kw("Explicit"), markedLine("Option Explicit"));
  // An apostrophe inside the literal does not start the comment; keywords in either stay plain.
  EXPECT_TEXT("x = " + str("\"it's If\"") + " " + rem("' If Then Sub"), markedLine("x = \"it's If\" ' If Then Sub"));
  EXPECT_TEXT(rem("' Private Sub x(\"a\")"), markedLine("' Private Sub x(\"a\")"));
  EXPECT_TEXT("s = " + str("\"a \"\"If\"\" b\"") + " & " + str("\"c\""), markedLine("s = \"a \"\"If\"\" b\" & \"c\""));
  // A literal left open at the line end keeps its text.
  EXPECT_TEXT("s = " + str("\"a'b") , markedLine("s = \"a'b"));
  EXPECT_TEXT("s = " + str("\"x\"") + " & " + str("\"it's") , markedLine("s = \"x\" & \"it's"));
  EXPECT_TEXT(kw("If") + " " + kw("Not") + " Not x " + kw("Then"), markedLine("If Not Not x Then"));
  EXPECT_TEXT(kw("If") + "(x) " + kw("Then") + " y = 1", markedLine("If(x) Then y = 1"));
  EXPECT_TEXT("\t" + kw("End") + " " + kw("If"), markedLine("\tEnd If"));
  EXPECT_TEXT("a = CBool(x) " + kw("And") + " " + kw("Cbool") + "(y)", markedLine("a = CBool(x) And Cbool(y)"));
  EXPECT_TEXT(kw("Call") + " " + kw("Access") + "(1): DoCmd.Close , MyAccess", markedLine("Call Access(1): DoCmd.Close , MyAccess"));
  EXPECT_TEXT("f(a, b,c)  ,  (d)", markedLine("f(a, b,c)  ,  (d)"));
  // A continued statement is coloured as one line and keeps its line break.
  EXPECT_TEXT("x = a _\r\n    " + kw("And") + " " + kw("Not") + " b", markedLine("x = a _\r\n    And Not b"));
  EXPECT_TEXT("x = a_ \r\n" + kw("And") + " b", markedLine("x = a_ \r\nAnd b"));
  EXPECT_TEXT("x = " + kw("True") + " " + kw("Or") + " " + kw("False"), markedLine("x = True Or False"));
  EXPECT_TEXT("Rem " + kw("If"), markedLine("Rem If"));
}

TEST(MarkupCases, RoutinesDeclarationsAndProperties) {
  const std::string code = source({
      "Option Explicit",
      "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
      "Private Declare PtrSafe Function GetWindow _",
      "    Lib \"user32\" (ByVal h As LongPtr, _",
      "    ByVal c As Long) As LongPtr",
      "Public Property Get Name() As String",
      "    Exit Property",
      "End Property",
      "Friend Property Let Name(ByVal s As String)",
      "End Property",
      "Property Set Item(ByVal o As Object)",
      "End Property",
      "Private Sub Test(ByVal a As Long, _",
      "        b As String)",
      "    Exit Sub",
      "End Sub",
  });
  ModuleRead read;
  readModule(read, code, {}, 10);

  ASSERT_EQ(read.sink.routines.size(), 6u);
  EXPECT_TRUE(read.warnings.empty());
  EXPECT_EQ(read.counter, 16);
  // Sub headers are numbered first, then Function, then Property headers.
  struct Expected {
    std::int64_t number;
    const char* name;
    int type, visibility, declarationLines;
    std::int64_t start, end;
  };
  for (const Expected& e : {Expected{11, "Test", cq::kSub, cq::kPrivate, 2, 13, 16},
                            Expected{12, "GetTickCount", cq::kDeclaredFunction, cq::kPrivate, 1, 2, 2},
                            Expected{13, "GetWindow", cq::kDeclaredFunction, cq::kPrivate, 3, 3, 5},
                            Expected{14, "Name", cq::kPropertyGet, cq::kPublic, 1, 6, 8},
                            Expected{15, "Name", cq::kPropertyLet, cq::kFriend, 1, 9, 10},
                            Expected{16, "Item", cq::kPropertySet, cq::kPublic, 1, 11, 12}}) {
    SCOPED_TRACE(e.number);
    const auto* r = read.number(e.number);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->row.name, e.name);
    EXPECT_EQ(r->row.type, e.type);
    EXPECT_EQ(r->row.visibility, e.visibility);
    EXPECT_EQ(r->row.declarationLines, e.declarationLines);
    EXPECT_EQ(r->row.module, 3);
    EXPECT_EQ(r->start, e.start);
    EXPECT_EQ(r->end, e.end);
  }
  ASSERT_EQ(read.sink.modules.size(), 1u);
  EXPECT_EQ(read.sink.modules[0].number, 3);
  EXPECT_EQ(read.sink.modules[0].name, "Modul3");
  EXPECT_EQ(read.sink.modules[0].type, 2);
  EXPECT_EQ(read.sink.modules[0].lineBreaks, 16);
  EXPECT_EQ(read.sink.log.back().rfind("insertModule", 0), 0u);

  const std::string expected = lines({
      kw("Option") + " " + kw("Explicit"),
      bold(kw("Private") + " " + kw("Declare") + " " + kw("Function") + " GetTickCount " + kw("Lib") + " " +
           str("\"kernel32\"") + " () " + kw("As") + " " + kw("Long")),
      std::string(mk::kBold) + kw("Private") + " " + kw("Declare") + " PtrSafe " + kw("Function") + " GetWindow _",
      "    " + kw("Lib") + " " + str("\"user32\"") + " (" + kw("ByVal") + " h " + kw("As") + " LongPtr, _",
      "    " + kw("ByVal") + " c " + kw("As") + " " + kw("Long") + ") " + kw("As") + " LongPtr" +
          std::string(mk::kBoldEnd),
      bold(kw("Public") + " " + kw("Property") + " " + kw("Get") + " Name() " + kw("As") + " " + kw("String")),
      "    " + kw("Exit") + " " + kw("Property"),
      bold(kw("End") + " " + kw("Property")),
      bold(kw("Friend") + " " + kw("Property") + " " + kw("Let") + " Name(" + kw("ByVal") + " s " + kw("As") + " " +
           kw("String") + ")"),
      bold(kw("End") + " " + kw("Property")),
      bold(kw("Property") + " " + kw("Set") + " Item(" + kw("ByVal") + " o " + kw("As") + " " + kw("Object") + ")"),
      bold(kw("End") + " " + kw("Property")),
      std::string(mk::kBold) + kw("Private") + " " + kw("Sub") + " Test(" + kw("ByVal") + " a " + kw("As") + " " +
          kw("Long") + ", _",
      "        b " + kw("As") + " " + kw("String") + ")" + std::string(mk::kBoldEnd),
      "    " + kw("Exit") + " " + kw("Sub"),
      bold(kw("End") + " " + kw("Sub")),
  });
  EXPECT_TEXT(expected, read.text);
}

TEST(MarkupCases, LayoutOptionsShiftLineNumbers) {
  const std::string code = source({"Sub First()", "x = 1", "", "", "End Sub", "Function Second()", "  If x Then",
                                  "y = 2", "End If", "End Function"});
  const std::string first = bold(kw("Sub") + " First()");
  const std::string endSub = bold(kw("End") + " " + kw("Sub"));
  const std::string second = bold(kw("Function") + " Second()");
  const std::string endFunction = bold(kw("End") + " " + kw("Function"));
  const std::string ifLine = kw("If") + " x " + kw("Then");
  const std::string endIf = kw("End") + " " + kw("If");
  {
    SCOPED_TRACE("no options");
    ModuleRead read;
    readModule(read, code);
    EXPECT_TEXT(lines({first, "x = 1", "", "", endSub, second, "  " + ifLine, "y = 2", endIf, endFunction}),
                read.text);
    EXPECT_EQ(read.number(1)->start, 1);
    EXPECT_EQ(read.number(1)->end, 5);
    EXPECT_EQ(read.number(2)->start, 6);
    EXPECT_EQ(read.number(2)->end, 10);
  }
  {
    SCOPED_TRACE("leer rle: the first routine of a module without declarations starts on line 2");
    ModuleRead read;
    readModule(read, code, layout(true, false, true, false));
    EXPECT_TEXT(lines({"", first, "x = 1", endSub, "", second, "  " + ifLine, "y = 2", endIf, endFunction}),
                read.text);
    EXPECT_EQ(read.number(1)->start, 2);
    EXPECT_EQ(read.number(1)->end, 4);
    EXPECT_EQ(read.number(2)->start, 6);
    EXPECT_EQ(read.number(2)->end, 10);
    EXPECT_EQ(read.sink.modules.at(0).lineBreaks, 10);
  }
  {
    SCOPED_TRACE("rer without einr changes nothing");
    ModuleRead plain;
    ModuleRead read;
    readModule(plain, code);
    readModule(read, code, layout(false, false, false, true));
    EXPECT_TEXT(plain.text, read.text);
  }
  {
    SCOPED_TRACE("einr rer: body lines one tab more, header and end lines none");
    ModuleRead read;
    readModule(read, code, layout(false, true, false, true));
    EXPECT_TEXT(lines({first, "\tx = 1", "\t", "\t", endSub, second, "\t" + ifLine, "\t\ty = 2", "\t" + endIf,
                       endFunction}),
                read.text);
    EXPECT_EQ(read.number(2)->start, 6);
  }
  {
    SCOPED_TRACE("einr rer rle: the inserted empty line carries the tab");
    ModuleRead read;
    readModule(read, code, layout(true, true, true, true));
    EXPECT_TEXT(lines({"\t", first, "\tx = 1", endSub, "\t", second, "\t" + ifLine, "\t\ty = 2", "\t" + endIf,
                       endFunction}),
                read.text);
    EXPECT_EQ(read.number(1)->start, 2);
    EXPECT_EQ(read.number(2)->end, 10);
  }
  {
    SCOPED_TRACE("leer keeps lines of blanks");
    ModuleRead read;
    readModule(read, "a\r\n\r\n\r\n   \r\nb", layout(true, false, false, false));
    EXPECT_TEXT("a\r\n   \r\nb\r\n", read.text);
  }
}

TEST(MarkupCases, HeadersThatCannotBeCut) {
  // A one-line routine: its header opens it, the next header closes it, and
  // that routine's End Sub then looks like a header without "(".
  const std::string code = source({"Sub A(): End Sub", "Sub B()", "End Sub", "Function C()", "End Function",
                                  "Private Declare Function NoLib \"x\" ()"});
  ModuleRead read;
  readModule(read, code, {}, 5);
  ASSERT_EQ(read.sink.routines.size(), 2u);
  EXPECT_EQ(read.number(6)->row.name, "A");
  EXPECT_EQ(read.number(6)->start, 1);
  EXPECT_EQ(read.number(6)->end, 2);
  EXPECT_EQ(read.number(7)->row.name, "C");
  EXPECT_EQ(read.number(7)->start, 4);
  EXPECT_EQ(read.number(7)->end, 5);
  EXPECT_EQ(read.counter, 7);
  ASSERT_EQ(read.warnings.size(), 2u);
  EXPECT_EQ(read.warnings[0].module, "Modul3");
  EXPECT_EQ(read.warnings[0].line, 3);
  EXPECT_EQ(read.warnings[0].code, "End Sub");
  EXPECT_EQ(read.warnings[1].line, 6);
  EXPECT_EQ(read.warnings[1].code, "Private Declare Function NoLib \"x\" ()");
  // Lines that could not be cut stay as they are.
  EXPECT_TEXT(lines({bold(kw("Sub") + " A(): " + kw("End") + " " + kw("Sub")), bold(kw("Sub") + " B()"),
                     kw("End") + " " + kw("Sub"), bold(kw("Function") + " C()"), bold(kw("End") + " " + kw("Function")),
                     kw("Private") + " " + kw("Declare") + " " + kw("Function") + " NoLib " + str("\"x\"") + " ()"}),
              read.text);

  // A routine named like a keyword keeps its name.
  ModuleRead keywordName;
  readModule(keywordName, "Public Property Get Object() As Menu");
  ASSERT_EQ(keywordName.sink.routines.size(), 1u);
  EXPECT_EQ(keywordName.sink.routines[0].row.name, "Object");
  EXPECT_TRUE(keywordName.warnings.empty());

  // A property line without accessor uses up a routine number but makes no row.
  ModuleRead property;
  readModule(property, source({"Dim Property As Long", "Sub S()", "End Sub"}));
  ASSERT_EQ(property.sink.routines.size(), 1u);
  EXPECT_EQ(property.sink.routines[0].row.number, 1);
  EXPECT_EQ(property.counter, 2);
  EXPECT_TRUE(property.warnings.empty());
}

TEST(MarkupCases, ModulesWithoutRoutines) {
  ModuleRead read;
  readModule(read, source({"Option Explicit", "Public Event Changed(ByVal x As Long)", "Private Type T", "  a As Long",
                          "End Type", "sub lower()", "end sub", "Dim s$: s = \"Sub X()\" ' Sub Y()"}));
  EXPECT_TRUE(read.sink.routines.empty());
  EXPECT_TRUE(read.warnings.empty());
  EXPECT_EQ(read.counter, 0);
  ASSERT_EQ(read.sink.modules.size(), 1u);
  EXPECT_EQ(read.sink.modules[0].lineBreaks, 8);
  EXPECT_EQ(read.sink.log, (std::vector<std::string>{"endDeclarationsOfModule module=3",
                                                     "insertModule number=3 name=Modul3 type=2 lineBreaks=8"}));
  EXPECT_NE(read.text.find("sub lower()\r\nend sub\r\n"), std::string::npos);

  // The marker byte in the source is given back as it was and never taken for an anchor.
  ModuleRead marker;
  readModule(marker, "\x9F*A00000001|x\r\nSub Z()\r\n\x9F*E00000001|\r\nEnd Sub");
  EXPECT_TEXT(lines({"\x9F*A00000001|x", bold(kw("Sub") + " Z()"), "\x9F*E00000001|", bold(kw("End") + " " + kw("Sub"))}),
              marker.text);
  EXPECT_EQ(marker.sink.log,
            (std::vector<std::string>{"insertRoutine type=1 open=1 lines=1 name=Z number=1 module=3",
                                      "setRoutineStart number=1 line=2", "setRoutineEnd number=1 line=4",
                                      "endDeclarationsOfModule module=3",
                                      "insertModule number=3 name=Modul3 type=2 lineBreaks=4"}));
}

TEST(MarkupCases, SelectionModeAddsNoLineBreaks) {
  EXPECT_TEXT("x = 1", cq::markUpSelection("x = 1", {}));
  EXPECT_TEXT(kw("If") + " a " + kw("Then"), cq::markUpSelection("If a Then", {}));
  EXPECT_TEXT("x = " + str("\"\x9F\"") + " " + rem("'\x9F"), cq::markUpSelection("x = \"\x9F\" '\x9F", {}));
  EXPECT_TEXT(bold(kw("Private") + " " + kw("Sub") + " Test()"), cq::markUpSelection("Private Sub Test()", {}));
  EXPECT_TEXT("", cq::markUpSelection("", {}));
  EXPECT_TEXT("\r\n", cq::markUpSelection("\r\n", {}));
  // No anchors in selection mode; a declaration is bold but opens nothing.
  const std::string code = "Declare Sub Beep Lib \"k\" ()\r\nSub A()\r\nx\r\nEnd Sub";
  const std::string declaration = bold(kw("Declare") + " " + kw("Sub") + " Beep " + kw("Lib") + " " + str("\"k\"") + " ()");
  EXPECT_TEXT(declaration + "\r\n" + bold(kw("Sub") + " A()") + "\r\nx\r\n" + bold(kw("End") + " " + kw("Sub")),
              cq::markUpSelection(code, {}));
  EXPECT_TEXT("\r\n" + declaration + "\r\n\t\r\n" + bold(kw("Sub") + " A()") + "\r\n\tx\r\n" +
                  bold(kw("End") + " " + kw("Sub")),
              cq::markUpSelection(code, layout(false, true, true, true)));
  // A property line without accessor stays as it is.
  EXPECT_TEXT(kw("Dim") + " " + kw("Property"), cq::markUpSelection("Dim Property", layout(false, true, true, true)));
}

}  // namespace
