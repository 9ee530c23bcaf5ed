#include "support/navigation_project.h"

#include <fstream>
#include <string>
#include <vector>

namespace cq::test {

namespace {

const char* const kClassHeader = "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n";

// The lines joined with CR LF, each followed by one.
std::string lines(const std::vector<std::string>& code) {
  std::string text;
  for (const std::string& line : code) text += line + "\r\n";
  return text;
}

void write(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

void writeNavigationModules(const std::filesystem::path& sources) {
  std::filesystem::create_directories(sources);
  write(sources / "Andere.bas",
        "Attribute VB_Name = \"Andere\"\r\n" + lines({"Option Explicit",                     // 1
                                                      "",                                    // 2
                                                      "Private Sub Helfer()",                // 3
                                                      "    Foo: Foo: Foo",                   // 4
                                                      "End Sub",                             // 5
                                                      "",                                    // 6
                                                      "Public Sub Foo()",                    // 7
                                                      "    Debug.Print \"Foo\"",             // 8
                                                      "End Sub",                             // 9
                                                      "",                                    // 10
                                                      "Public Sub FooBar(ByVal a As Long)",  // 11
                                                      "    Foo",                             // 12
                                                      "    Helfer",                          // 13
                                                      "End Sub",                             // 14
                                                      "",                                    // 15
                                                      "Public Sub Auto_Open()",              // 16
                                                      "End Sub",                             // 17
                                                      "",                                    // 18
                                                      "Public Sub Knopfdruck()",             // 19
                                                      "End Sub"}));                          // 20
  write(sources / "Form_Kunden.cls",
        std::string(kClassHeader) + "Attribute VB_Name = \"Form_Kunden\"\r\nAttribute VB_PredeclaredId = True\r\n" +
            lines({"Option Compare Database",      // 1
                   "",                             // 2
                   "Private Sub Form_Load()",      // 3
                   "    Me.Caption = \"Kunden\"",  // 4
                   "End Sub",                      // 5
                   "",                             // 6
                   "Private Sub cmdOK_Click()",    // 7
                   "    DoCmd.Close",              // 8
                   "End Sub",                      // 9
                   "",                             // 10
                   "Private Sub Liste_Fuellen()",  // 11
                   "End Sub"}));                   // 12
  write(sources / "Haupt.bas",
        "Attribute VB_Name = \"Haupt\"\r\n" + lines({"Option Explicit",                                           // 1
                                                     "' Foo und Name stehen hier nur im Kommentar",               // 2
                                                     "Private mName As String",                                   // 3
                                                     "",                                                          // 4
                                                     "Public Sub Start()",                                        // 5
                                                     "    Foo",                                                   // 6
                                                     "    FooBar 1",                                              // 7
                                                     "    Call Helfer",                                           // 8
                                                     "    x.Foo = 2",                                             // 9
                                                     "    MsgBox \"Foo im Text\"",                                // 10
                                                     "    Debug.Print Rechne(3)",                                 // 11
                                                     "    Dim k As New Klasse, Ungenutzt As Long",                // 12
                                                     "    k.Melde",                                               // 13
                                                     "    CommandBars(1).Controls(1).OnAction = \"Knopfdruck\"",  // 14
                                                     "End Sub",                                                   // 15
                                                     "",                                                          // 16
                                                     "Private Sub Helfer()",                                      // 17
                                                     "    Dim Namen As String",                                   // 18
                                                     "    Namen = \"Name\"",                                      // 19
                                                     "End Sub",                                                   // 20
                                                     "",                                                          // 21
                                                     "Public Function Rechne(ByVal n As Long) As Long",           // 22
                                                     "    If n > 0 Then Rechne = Rechne(n - 1) + 1",              // 23
                                                     "End Function",                                              // 24
                                                     "",                                                          // 25
                                                     "Public Sub Gr\xF6\xDF"
                                                     "e()",      // 26
                                                     "End Sub",  // 27
                                                     "",         // 28
                                                     "Public Sub \xDC"
                                                     "brig()",      // 29
                                                     "End Sub"}));  // 30
  write(sources / "Klasse.cls",
        std::string(kClassHeader) + "Attribute VB_Name = \"Klasse\"\r\nAttribute VB_Exposed = False\r\n" +
            lines({"Option Explicit",                             // 1
                   "Implements IAusgabe",                         // 2
                   "Private WithEvents mKnopf As CommandButton",  // 3
                   "",                                            // 4
                   "Private Sub Class_Initialize()",              // 5
                   "    Set mKnopf = New CommandButton",          // 6
                   "End Sub",                                     // 7
                   "",                                            // 8
                   "Friend Sub Melde()",                          // 9
                   "End Sub",                                     // 10
                   "",                                            // 11
                   "Private Sub mKnopf_Click()",                  // 12
                   "End Sub",                                     // 13
                   "",                                            // 14
                   "Private Sub IAusgabe_Zeige()",                // 15
                   "End Sub",                                     // 16
                   "",                                            // 17
                   "Private Sub Ungenutzt()",                     // 18
                   "End Sub",                                     // 19
                   "",                                            // 20
                   "Public Sub Zeige()",                          // 21
                   "End Sub",                                     // 22
                   "",                                            // 23
                   "Friend Function Rechner() As Long",           // 24
                   "End Function",                                // 25
                   "",                                            // 26
                   "Public Property Get Wert() As Long",          // 27
                   "End Property"}));                             // 28
  write(sources / "ThisWorkbook.cls",
        std::string(kClassHeader) +
            "Attribute VB_Name = \"ThisWorkbook\"\r\n"
            "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\r\n" +
            lines({"Option Explicit",                             // 1
                   "",                                            // 2
                   "Private Sub Workbook_Open()",                 // 3
                   "    Range(\"A1\").Formula = \"=Rechner()\"",  // 4
                   "    Application.Run \"Haupt.Gr\xF6\xDF"
                   "e\"",                            // 5
                   "End Sub",                        // 6
                   "",                               // 7
                   "Private Sub Workbook_Wunder()",  // 8
                   "End Sub",                        // 9
                   "",                               // 10
                   "Public Sub Zeige()",             // 11
                   "End Sub"}));                     // 12
}

}  // namespace cq::test
