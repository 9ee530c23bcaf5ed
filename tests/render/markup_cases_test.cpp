// Edge cases of the mark-up and the module scanner, checked on the real implementation.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "text/markers.h"
#include "render/markup.h"
#include "support/recording_sink.h"
#include "support/text_difference.h"

namespace {

namespace mk = cq::markers;
using cq::MarkupOptions;

// Builders of expected marked-up text.
std::string kw(std::string_view word) { return std::string(mk::kKeyword).append(word).append(mk::kEnd); }
// Keywords separated by single blanks: kws("End Sub").
std::string kws(std::string_view words) {
  const std::size_t blank = words.find(' ');
  return blank == std::string_view::npos ? kw(words) : kw(words.substr(0, blank)) + " " + kws(words.substr(blank + 1));
}
std::string str(std::string_view literal) { return std::string(mk::kString).append(literal).append(mk::kEnd); }
std::string rem(std::string_view comment) { return std::string(mk::kComment).append(comment).append(mk::kEnd); }
std::string bold(std::string_view line) { return std::string(mk::kBold).append(line).append(mk::kBoldEnd); }
// Module text: every line ends in CR LF; `source` is the code as the host hands it over, without the last one.
std::string lines(const std::vector<std::string>& each) {
  std::string out;
  for (const std::string& line : each) out += line + "\r\n";
  return out;
}
std::string source(const std::vector<std::string>& each) { return lines(each).erase(lines(each).size() - 2); }

// The layout options in the order "leer", "einr", "rle", "rer".
MarkupOptions layout(bool leer, bool einr, bool rle, bool rer) { return MarkupOptions{leer, einr, rle, rer}; }

struct ModuleRead {
  std::string text;
  cq::test::RecordingSink sink;
  std::vector<cq::ScanWarning> warnings;
  std::int64_t counter = 0;

  ModuleRead(std::string_view code, const MarkupOptions& options = {}, std::int64_t counterStart = 0)
      : counter(counterStart) {
    cq::ModuleScan scan{3, 2, "Modul3", &counter, &sink, &warnings, options.blankLineBeforeRoutines,
                        options.reindent && options.indentRoutineBodies};
    text = cq::markUpModule(code, options, scan);
  }
  const cq::test::RecordingSink::Routine& number(std::int64_t n) const {
    for (const auto& r : sink.routines)
      if (r.row.number == n) return r;
    throw std::out_of_range("no routine " + std::to_string(n));
  }
  // Name, type, visibility, declaration lines, module, start and end line of a routine.
  auto facts(std::int64_t n) const {
    const auto& r = number(n);
    return std::tuple(r.row.name, r.row.type, r.row.visibility, r.row.declarationLines, r.row.module,
                      r.start.value_or(-1), r.end.value_or(-1));
  }
};

#define EXPECT_TEXT(expected, actual) EXPECT_EQ(cq::test::firstDifference((expected), (actual)), "")

TEST(MarkupCases, KeywordsStringsAndComments) {
  const std::pair<std::string, std::string> cases[] = {
      {"Option Explicit", kws("Option Explicit")}, {"\tEnd If", "\t" + kws("End If")},
      // An apostrophe inside the literal does not start the comment; keywords in either stay plain.
      {"x = \"it's If\" ' If Then Sub", "x = " + str("\"it's If\"") + " " + rem("' If Then Sub")},
      {"' Private Sub x(\"a\")", rem("' Private Sub x(\"a\")")},
      {"s = \"a \"\"If\"\" b\" & \"c\"", "s = " + str("\"a \"\"If\"\" b\"") + " & " + str("\"c\"")},
      // A literal left open at the line end keeps its text.
      {"s = \"a'b", "s = " + str("\"a'b")},
      {"s = \"x\" & \"it's", "s = " + str("\"x\"") + " & " + str("\"it's")},
      {"If Not Not x Then", kws("If Not") + " Not x " + kw("Then")},
      {"If(x) Then y = 1", kw("If") + "(x) " + kw("Then") + " y = 1"}, {"f(a, b,c)  ,  (d)", "f(a, b,c)  ,  (d)"},
      {"a = CBool(x) And Cbool(y)", "a = CBool(x) " + kws("And Cbool") + "(y)"},
      {"Call Access(1): DoCmd.Close , MyAccess", kws("Call Access") + "(1): DoCmd.Close , MyAccess"},
      // A continued statement is coloured as one line and keeps its line break.
      {"x = a _\r\n    And Not b", "x = a _\r\n    " + kws("And Not") + " b"},
      {"x = a_ \r\nAnd b", "x = a_ \r\n" + kw("And") + " b"},
      {"x = True Or False", "x = " + kws("True Or False")}, {"Rem If", "Rem " + kw("If")},
  };
  for (const auto& [code, expected] : cases) EXPECT_TEXT(expected + "\r\n", ModuleRead(code).text);
}

TEST(MarkupCases, RoutinesDeclarationsAndProperties) {
  const ModuleRead read(
      source({"Option Explicit", "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
              "Private Declare PtrSafe Function GetWindow _", "    Lib \"user32\" (ByVal h As LongPtr, _",
              "    ByVal c As Long) As LongPtr", "Public Property Get Name() As String", "    Exit Property",
              "End Property", "Friend Property Let Name(ByVal s As String)", "End Property",
              "Property Set Item(ByVal o As Object)", "End Property", "Private Sub Test(ByVal a As Long, _",
              "        b As String)", "    Exit Sub", "End Sub"}),
      {}, 10);
  ASSERT_EQ(read.sink.routines.size(), 6u);
  EXPECT_TRUE(read.warnings.empty() && read.counter == 16);
  // Sub headers are numbered first, then Function, then Property headers.
  EXPECT_EQ(read.facts(11), std::tuple("Test", cq::kSub, cq::kPrivate, 2, 3, 13, 16));
  EXPECT_EQ(read.facts(12), std::tuple("GetTickCount", cq::kDeclaredFunction, cq::kPrivate, 1, 3, 2, 2));
  EXPECT_EQ(read.facts(13), std::tuple("GetWindow", cq::kDeclaredFunction, cq::kPrivate, 3, 3, 3, 5));
  EXPECT_EQ(read.facts(14), std::tuple("Name", cq::kPropertyGet, cq::kPublic, 1, 3, 6, 8));
  EXPECT_EQ(read.facts(15), std::tuple("Name", cq::kPropertyLet, cq::kFriend, 1, 3, 9, 10));
  EXPECT_EQ(read.facts(16), std::tuple("Item", cq::kPropertySet, cq::kPublic, 1, 3, 11, 12));
  EXPECT_EQ(read.sink.log.back(), "insertModule number=3 name=Modul3 type=2 lineBreaks=16");

  const std::string endProperty = bold(kws("End Property")), boldStart(mk::kBold), boldEnd(mk::kBoldEnd);
  EXPECT_TEXT(lines({kws("Option Explicit"),
                     bold(kws("Private Declare Function") + " GetTickCount " + kw("Lib") + " " + str("\"kernel32\"") +
                          " () " + kws("As Long")),
                     boldStart + kws("Private Declare") + " PtrSafe " + kw("Function") + " GetWindow _",
                     "    " + kw("Lib") + " " + str("\"user32\"") + " (" + kw("ByVal") + " h " + kw("As") +
                         " LongPtr, _",
                     "    " + kw("ByVal") + " c " + kws("As Long") + ") " + kw("As") + " LongPtr" + boldEnd,
                     bold(kws("Public Property Get") + " Name() " + kws("As String")), "    " + kws("Exit Property"),
                     endProperty,
                     bold(kws("Friend Property Let") + " Name(" + kw("ByVal") + " s " + kws("As String") + ")"),
                     endProperty, bold(kws("Property Set") + " Item(" + kw("ByVal") + " o " + kws("As Object") + ")"),
                     endProperty,
                     boldStart + kws("Private Sub") + " Test(" + kw("ByVal") + " a " + kws("As Long") + ", _",
                     "        b " + kws("As String") + ")" + boldEnd, "    " + kws("Exit Sub"), bold(kws("End Sub"))}),
              read.text);
}

TEST(MarkupCases, TheEmptyLineBeforeARoutineGoesAboveItsDescription) {
  const std::string code = source({"Sub First()", "End Sub", "  '@Description(\"Zweite\")", "' mehr",
                                  "Function Second()", "End Function"});
  // Re-indented, the description loses its blanks.
  const std::string description = rem("'@Description(\"Zweite\")"), more = rem("' mehr");
  const ModuleRead read(code, layout(false, true, true, true));
  EXPECT_TEXT(lines({"", bold(kw("Sub") + " First()"), bold(kws("End Sub")), "", description, more,
                     bold(kw("Function") + " Second()"), bold(kws("End Function"))}),
              read.text);
  EXPECT_EQ(std::tuple(read.number(2).start, read.number(2).end), std::tuple(7, 8));
  EXPECT_TEXT(read.text, cq::markUpSelection(code, layout(false, true, true, true)) + "\r\n");
}

TEST(MarkupCases, LayoutOptionsShiftLineNumbers) {
  const std::string code = source({"Sub First()", "x = 1", "", "", "End Sub", "Function Second()", "  If x Then",
                                  "y = 2", "End If", "End Function"});
  const std::string first = bold(kw("Sub") + " First()"), endSub = bold(kws("End Sub"));
  const std::string second = bold(kw("Function") + " Second()"), endFunction = bold(kws("End Function"));
  const std::string ifLine = kw("If") + " x " + kw("Then"), endIf = kws("End If");
  const std::vector<std::string> plain{first,  "x = 1",      "",      "",    endSub,
                                       second, "  " + ifLine, "y = 2", endIf, endFunction};
  const struct {
    const char* name;
    MarkupOptions options;
    std::vector<std::string> text;
    std::int64_t firstStart, firstEnd;  // the second routine always spans lines 6 to 10
  } cases[] = {
      {"no options", {}, plain, 1, 5},
      {"rer without einr changes nothing", layout(false, false, false, true), plain, 1, 5},
      {"leer rle: the first routine of a module without declarations starts on line 2",
       layout(true, false, true, false),
       {"", first, "x = 1", endSub, "", second, "  " + ifLine, "y = 2", endIf, endFunction}, 2, 4},
      {"einr rer: body lines one tab more, header, end and empty lines none", layout(false, true, false, true),
       {first, "\tx = 1", "", "", endSub, second, "\t" + ifLine, "\t\ty = 2", "\t" + endIf, endFunction}, 1, 5},
      {"einr rer rle: the inserted empty lines carry no tab", layout(true, true, true, true),
       {"", first, "\tx = 1", endSub, "", second, "\t" + ifLine, "\t\ty = 2", "\t" + endIf, endFunction}, 2, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ModuleRead read(code, c.options);
    EXPECT_TEXT(lines(c.text), read.text);
    EXPECT_EQ(std::tuple(read.number(1).start, read.number(1).end, read.number(2).start, read.number(2).end,
                         read.sink.modules.at(0).lineBreaks),
              std::tuple(c.firstStart, c.firstEnd, 6, 10, 10));
  }
  // leer keeps lines of blanks.
  EXPECT_TEXT("a\r\n   \r\nb\r\n", ModuleRead("a\r\n\r\n\r\n   \r\nb", layout(true, false, false, false)).text);
}

TEST(MarkupCases, HeadersThatCannotBeCut) {
  // A header without "(" opens nothing, so its End Sub is one more such line. Each
  // warning names the module file line it quotes: continued lines and the empty
  // lines of "rle" are counted.
  const std::string code = source({"Sub A(ByVal x As Long, _", "      ByVal y As Long)", "End Sub", "Sub NoParens",
                                   "End Sub", "Function C()", "End Function",
                                   "Private Declare Function NoLib \"x\" ()"});
  const std::string noLib = "Private Declare Function NoLib \"x\" ()";
  for (const bool rle : {false, true}) {
    SCOPED_TRACE(rle ? "rle" : "no options");
    const ModuleRead read(code, layout(false, false, rle, false), 5);
    const int shift = rle ? 1 : 0;  // the empty line above Sub A
    ASSERT_EQ(read.sink.routines.size(), 2u);
    EXPECT_EQ(read.facts(6), std::tuple("A", cq::kSub, cq::kPublic, 2, 3, 1 + shift, 3 + shift));
    EXPECT_EQ(read.facts(7), std::tuple("C", cq::kFunction, cq::kPublic, 1, 3, 6 + 2 * shift, 7 + 2 * shift));
    ASSERT_EQ(std::tuple(read.counter, read.warnings.size()), std::tuple(7, 3u));
    EXPECT_EQ(std::tie(read.warnings[0].module, read.warnings[0].line, read.warnings[0].code),
              std::tuple("Modul3", 4 + shift, "Sub NoParens"));
    EXPECT_EQ(std::tie(read.warnings[1].line, read.warnings[1].code), std::tuple(5 + shift, "End Sub"));
    EXPECT_EQ(std::tie(read.warnings[2].line, read.warnings[2].code), std::tuple(8 + 2 * shift, noLib));
    // Lines that could not be cut stay as they are.
    std::vector<std::string> expected{
        std::string(mk::kBold) + kw("Sub") + " A(" + kw("ByVal") + " x " + kws("As Long") + ", _",
        "      " + kw("ByVal") + " y " + kws("As Long") + ")" + std::string(mk::kBoldEnd),
        bold(kws("End Sub")), kw("Sub") + " NoParens", kws("End Sub"), bold(kw("Function") + " C()"),
        bold(kws("End Function")), kws("Private Declare Function") + " NoLib " + str("\"x\"") + " ()"};
    if (rle) {
      expected.insert(expected.begin() + 5, "");
      expected.insert(expected.begin(), "");
    }
    EXPECT_TEXT(lines(expected), read.text);
    // Without a warning list the module text is the same.
    cq::NullScanSink sink;
    std::int64_t counter = 0;
    cq::ModuleScan quiet{3, 2, "Modul3", &counter, &sink, nullptr, rle, false};
    EXPECT_TEXT(read.text, cq::markUpModule(code, layout(false, false, rle, false), quiet));
  }

  // A routine named like a keyword keeps its name.
  const ModuleRead keywordName("Public Property Get Object() As Menu");
  ASSERT_EQ(keywordName.sink.routines.size(), 1u);
  EXPECT_EQ(std::tuple(keywordName.sink.routines[0].row.name, keywordName.warnings.size()), std::tuple("Object", 0u));

  // A property line without accessor uses up a routine number but makes no row.
  const ModuleRead property(source({"Dim Property As Long", "Sub S()", "End Sub"}));
  ASSERT_EQ(property.sink.routines.size(), 1u);
  EXPECT_EQ(std::tuple(property.sink.routines[0].row.number, property.counter), std::tuple(1, 2));
  EXPECT_TRUE(property.warnings.empty());
}

TEST(MarkupCases, SecondHeadersUnderConditionalCompilation) {
  // One routine declared twice for two platforms: the second header is bold but
  // makes no row, no anchor, no empty line and no tab; the End line closes the routine.
  const std::string code = source({"Option Explicit", "#If VBA7 Then", "Private Sub Wait(ByVal ms As LongPtr)",
                                   "#Else", "Private Sub Wait(ByVal ms As Long)", "#End If", "x = ms", "End Sub",
                                   "#If VBA7 Then", "Public Function Handle() As LongPtr", "#Else",
                                   "Public Function Handle() As Long", "#End If", "End Function", "#If VBA7 Then",
                                   "Property Get Pointer() As LongPtr", "#Else", "Property Get Pointer() As Long",
                                   "#End If", "End Property", "Sub After()", "End Sub"});
  // "#If" and "#Else" are no keyword runs; "If" after "#End " is.
  const std::string ifLine = "#If VBA7 " + kw("Then"), elseLine = "#Else", endIf = "#End " + kw("If");
  const std::string wait64 = bold(kws("Private Sub") + " Wait(" + kw("ByVal") + " ms " + kw("As") + " LongPtr)"),
                    wait32 = bold(kws("Private Sub") + " Wait(" + kw("ByVal") + " ms " + kws("As Long") + ")"),
                    handle64 = bold(kws("Public Function") + " Handle() " + kw("As") + " LongPtr"),
                    handle32 = bold(kws("Public Function") + " Handle() " + kws("As Long")),
                    pointer64 = bold(kws("Property Get") + " Pointer() " + kw("As") + " LongPtr"),
                    pointer32 = bold(kws("Property Get") + " Pointer() " + kws("As Long")),
                    after = bold(kw("Sub") + " After()");
  const std::string endSub = bold(kws("End Sub")), endFunction = bold(kws("End Function")),
                    endProperty = bold(kws("End Property"));
  const struct {
    const char* name;
    MarkupOptions options;
    std::vector<std::string> text;
  } cases[] = {
      {"no options",
       {},
       {kws("Option Explicit"), ifLine, wait64, elseLine, wait32, endIf, "x = ms", endSub, ifLine, handle64,
        elseLine, handle32, endIf, endFunction, ifLine, pointer64, elseLine, pointer32, endIf, endProperty, after,
        endSub}},
      {"einr rer rle: body lines get a tab, the second header does not",
       layout(false, true, true, true),
       {kws("Option Explicit"), ifLine, "", wait64, "\t" + elseLine, wait32, "\t" + endIf, "\tx = ms", endSub,
        ifLine, "", handle64, "\t" + elseLine, handle32, "\t" + endIf, endFunction, ifLine, "", pointer64,
        "\t" + elseLine, pointer32, "\t" + endIf, endProperty, "", after, endSub}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ModuleRead read(code, c.options);
    EXPECT_TEXT(lines(c.text), read.text);
    EXPECT_TRUE(read.warnings.empty() && read.counter == 4);
    const int rle = c.options.blankLineBeforeRoutines ? 1 : 0;
    EXPECT_EQ(read.facts(1), std::tuple("Wait", cq::kSub, cq::kPrivate, 1, 3, 3 + rle, 8 + rle));
    EXPECT_EQ(read.facts(2), std::tuple("After", cq::kSub, cq::kPublic, 1, 3, 21 + 4 * rle, 22 + 4 * rle));
    EXPECT_EQ(read.facts(3), std::tuple("Handle", cq::kFunction, cq::kPublic, 1, 3, 10 + 2 * rle, 14 + 2 * rle));
    EXPECT_EQ(read.facts(4), std::tuple("Pointer", cq::kPropertyGet, cq::kPublic, 1, 3, 16 + 3 * rle, 20 + 3 * rle));
    // Selection mode marks the same lines.
    EXPECT_TEXT(lines(c.text), cq::markUpSelection(code, c.options) + "\r\n");
  }
}

TEST(MarkupCases, OneLineRoutinesAndPropertiesNamedProperty) {
  // A routine and its End on one line is a routine that ends where it starts; the
  // next header opens the next routine. "Property = x" in a property's body is code.
  const std::string code = source({"Sub X(): End Sub", "Sub Y()", "X", "End Sub", "Private Function F(): End Function",
                                   "Function G() As Long", "G = 1", "End Function",
                                   "Public Property Get Property() As Long", "Property = 5", "End Property"});
  const std::string x = bold(kw("Sub") + " X(): " + kws("End Sub")), y = bold(kw("Sub") + " Y()"),
                    f = bold(kws("Private Function") + " F(): " + kws("End Function")),
                    g = bold(kw("Function") + " G() " + kws("As Long")),
                    property = bold(kws("Public Property Get Property") + "() " + kws("As Long"));
  const std::string endSub = bold(kws("End Sub")), endFunction = bold(kws("End Function")),
                    endProperty = bold(kws("End Property")), assignment = kw("Property") + " = 5";
  const struct {
    const char* name;
    MarkupOptions options;
    std::vector<std::string> text;
    std::vector<std::tuple<std::string, int, int, int, int, std::int64_t, std::int64_t>> routines;
  } cases[] = {
      {"no options",
       {},
       {x, y, "X", endSub, f, g, "G = 1", endFunction, property, assignment, endProperty},
       {{"X", cq::kSub, cq::kPublic, 1, 3, 1, 1},
        {"Y", cq::kSub, cq::kPublic, 1, 3, 2, 4},
        {"F", cq::kFunction, cq::kPrivate, 1, 3, 5, 5},
        {"G", cq::kFunction, cq::kPublic, 1, 3, 6, 8},
        {"Property", cq::kPropertyGet, cq::kPublic, 1, 3, 9, 11}}},
      {"rle: an empty line above each one-line routine too",
       layout(false, false, true, false),
       {"", x, "", y, "X", endSub, "", f, "", g, "G = 1", endFunction, "", property, assignment, endProperty},
       {{"X", cq::kSub, cq::kPublic, 1, 3, 2, 2},
        {"Y", cq::kSub, cq::kPublic, 1, 3, 4, 6},
        {"F", cq::kFunction, cq::kPrivate, 1, 3, 8, 8},
        {"G", cq::kFunction, cq::kPublic, 1, 3, 10, 12},
        {"Property", cq::kPropertyGet, cq::kPublic, 1, 3, 14, 16}}},
      {"einr rer rle: a one-line routine opens no body",
       layout(false, true, true, true),
       {"", x, "", y, "\tX", endSub, "", f, "", g, "\tG = 1", endFunction, "", property, "\t" + assignment,
        endProperty},
       {{"X", cq::kSub, cq::kPublic, 1, 3, 2, 2},
        {"Y", cq::kSub, cq::kPublic, 1, 3, 4, 6},
        {"F", cq::kFunction, cq::kPrivate, 1, 3, 8, 8},
        {"G", cq::kFunction, cq::kPublic, 1, 3, 10, 12},
        {"Property", cq::kPropertyGet, cq::kPublic, 1, 3, 14, 16}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ModuleRead read(code, c.options);
    EXPECT_TEXT(lines(c.text), read.text);
    EXPECT_TRUE(read.warnings.empty());
    ASSERT_EQ(read.counter, 5);
    for (std::int64_t n = 1; n <= 5; ++n) EXPECT_EQ(read.facts(n), c.routines[static_cast<std::size_t>(n - 1)]);
    EXPECT_TEXT(lines(c.text), cq::markUpSelection(code, c.options) + "\r\n");
  }
}

TEST(MarkupCases, ModulesWithoutRoutines) {
  const ModuleRead read(source({"Option Explicit", "Public Event Changed(ByVal x As Long)", "Private Type T",
                                "  a As Long", "End Type", "sub lower()", "end sub",
                                "Dim s$: s = \"Sub X()\" ' Sub Y()"}));
  EXPECT_TRUE(read.warnings.empty() && read.counter == 0);
  EXPECT_EQ(read.sink.log, (std::vector<std::string>{"endDeclarationsOfModule module=3",
                                                     "insertModule number=3 name=Modul3 type=2 lineBreaks=8"}));
  EXPECT_NE(read.text.find("sub lower()\r\nend sub\r\n"), std::string::npos);

  // The marker byte in the source is given back as it was and never taken for an anchor.
  const ModuleRead marker("Ÿ*A00000001|x\r\nSub Z()\r\nŸ*E00000001|\r\nEnd Sub");
  EXPECT_TEXT(lines({"Ÿ*A00000001|x", bold(kw("Sub") + " Z()"), "Ÿ*E00000001|", bold(kws("End Sub"))}),
              marker.text);
  EXPECT_EQ(marker.sink.log,
            (std::vector<std::string>{"insertRoutine type=1 open=1 lines=1 name=Z number=1 module=3",
                                      "setRoutineStart number=1 line=2", "setRoutineEnd number=1 line=4",
                                      "endDeclarationsOfModule module=3",
                                      "insertModule number=3 name=Modul3 type=2 lineBreaks=4"}));
}

TEST(MarkupCases, SelectionModeAddsNoLineBreaks) {
  const std::pair<std::string, std::string> cases[] = {
      {"x = 1", "x = 1"}, {"If a Then", kw("If") + " a " + kw("Then")}, {"", ""}, {"\r\n", "\r\n"},
      {"x = \"Ÿ\" 'Ÿ", "x = " + str("\"Ÿ\"") + " " + rem("'Ÿ")},
      {"Private Sub Test()", bold(kws("Private Sub") + " Test()")}};
  for (const auto& [code, expected] : cases) EXPECT_TEXT(expected, cq::markUpSelection(code, {}));
  // No anchors in selection mode; a declaration is bold but opens nothing.
  const std::string code = "Declare Sub Beep Lib \"k\" ()\r\nSub A()\r\nx\r\nEnd Sub";
  const std::string declaration = bold(kws("Declare Sub") + " Beep " + kw("Lib") + " " + str("\"k\"") + " ()");
  EXPECT_TEXT(declaration + "\r\n" + bold(kw("Sub") + " A()") + "\r\nx\r\n" + bold(kws("End Sub")),
              cq::markUpSelection(code, {}));
  EXPECT_TEXT("\r\n" + declaration + "\r\n\r\n" + bold(kw("Sub") + " A()") + "\r\n\tx\r\n" +
                  bold(kws("End Sub")),
              cq::markUpSelection(code, layout(false, true, true, true)));
  // A property line without accessor stays as it is.
  EXPECT_TEXT(kws("Dim Property"), cq::markUpSelection("Dim Property", layout(false, true, true, true)));
}

}  // namespace
