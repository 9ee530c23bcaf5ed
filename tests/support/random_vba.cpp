#include "support/random_vba.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "render/keywords.h"

namespace cq::test {
namespace {

constexpr std::array<std::string_view, 12> kIdentifiers = {
    "x", "Foo", "a1", "Name", "GetTickCount", "sub", "If2", "my_var", "Ende", "PtrSafe", "Me", "Value"};

constexpr std::array<std::string_view, 22> kPunctuation = {
    "(", ")", ",", "=", "&", ":", ".", "1", "42", "\"", "\"\"", "'", "_", "\t", " ", "  ", "Ÿ", "Ÿ*", "|",
    "#", "+", "_ "};

// Pieces of the private markers, so the escaping of 0x9F is put to work.
constexpr std::array<std::string_view, 6> kMarkerLookAlikes = {
    "|Ÿf|", "|nŸ|", "Ÿ|?", "Ÿ*A00000001|", "|Ÿu| ", "|Ÿx|"};

constexpr std::array<std::string_view, 18> kShapes = {
    "End Sub", "End Function", "End Property", "Exit Sub", "Exit Function", "Exit Property", "End If",
    "Else", "If x Then", "If(x) Then y = 1", "If Not Not x Then", "ElseIf a And b Then", "Option Explicit",
    "Dim s As String", "end sub", "Select Case x", "Property = x", "Set Property = Nothing"};

constexpr std::array<std::string_view, 7> kKinds = {"Sub ", "Function ", "Property Get ", "Property Let ",
                                                    "Property Set ", "Property ", "sub "};
constexpr std::array<std::string_view, 3> kEnds = {"End Sub", "End Function", "End Property"};

std::string_view trimmed(std::string_view item) {
  while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
  while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
  return item;
}

}  // namespace

std::string RandomVba::identifier() { return std::string(kIdentifiers[below(kIdentifiers.size())]); }

std::string RandomVba::token() {
  const std::uint32_t roll = below(100);
  if (roll < 45) {
    const auto& items = keywordItems();
    return std::string(trimmed(items[below(static_cast<std::uint32_t>(items.size()))]));
  }
  if (roll < 70) return identifier();
  if (roll < 97) return std::string(kPunctuation[below(kPunctuation.size())]);
  return std::string(kMarkerLookAlikes[below(kMarkerLookAlikes.size())]);
}

std::string RandomVba::literal() {
  std::string out = "\"";
  const std::uint32_t words = below(5);
  for (std::uint32_t i = 0; i < words; ++i) {
    if (i > 0) out += chance(80) ? " " : "\t";
    const std::uint32_t roll = below(10);
    if (roll == 0) out += "\"\"";
    else if (roll == 1) out += "'";
    else if (roll == 2) out += "(";
    else out += token();
  }
  if (chance(90)) out += "\"";  // sometimes left open
  return out;
}

std::string RandomVba::comment() {
  std::string out = chance(80) ? " '" : "'";
  const std::uint32_t words = below(6);
  for (std::uint32_t i = 0; i < words; ++i) out.append(" ").append(token());
  return out;
}

std::string RandomVba::header(int kind) {
  static constexpr std::array<std::string_view, 6> kVisibility = {"", "Private ", "Public ", "Friend ", "Static ",
                                                                  "Public Static "};
  std::string out(kVisibility[below(kVisibility.size())]);
  static constexpr std::array<std::string_view, 5> kKeywordNames = {"Step", "Open", "Print", "Error", "Input"};
  out += kKinds[kind < 0 ? below(kKinds.size()) : static_cast<std::uint32_t>(kind) % kKinds.size()];
  out += chance(8) ? std::string(kKeywordNames[below(kKeywordNames.size())]) : identifier();
  if (chance(90)) {
    out += chance(80) ? "(" : " (";
    const std::uint32_t parameters = below(4);
    for (std::uint32_t i = 0; i < parameters; ++i) {
      if (i > 0) out += chance(70) ? ", " : ", _\r\n    ";
      if (chance(40)) out += "ByVal ";
      out += identifier() + " As " + (chance(50) ? "Long" : "String");
    }
    out += ")";
  }
  if (chance(30)) out += " As Variant";
  if (chance(15)) out += comment();
  return out;
}

std::string RandomVba::oneLineRoutine() {
  const std::uint32_t kind = below(kKinds.size());
  std::string out = header(static_cast<int>(kind));
  out += chance(85) ? ": " : ":";  // without the blank the End is no keyword
  if (chance(30)) out += identifier() + ": ";
  const std::uint32_t matchingEnd = kind == 6 ? 0 : std::min<std::uint32_t>(kind, 2);  // "sub " is a Sub
  out += kEnds[chance(85) ? matchingEnd : below(kEnds.size())];
  if (chance(15)) out += comment();
  return out;
}

std::string RandomVba::conditionalHeaders() {
  const int kind = static_cast<int>(below(kKinds.size()));
  const bool declared = chance(20);
  std::string out = chance(80) ? "#If VBA7 Then" : "#If Win64 Then";
  out += lineEnd();
  out += declared ? declaration() : header(kind);
  out += "\r\n#Else\r\n";
  out += declared ? declaration() : header(chance(85) ? kind : -1);
  out += "\r\n#End If";
  return out;
}

std::string RandomVba::declaration() {
  std::string out = chance(50) ? "Private " : (chance(50) ? "Public " : "");
  out += "Declare ";
  if (chance(50)) out += "PtrSafe ";
  out += chance(50) ? "Function " : "Sub ";
  out += identifier();
  out += chance(85) ? " Lib \"kernel32\"" : " \"kernel32\"";
  if (chance(30)) out += " Alias \"GetTick\"";
  out += chance(30) ? " _\r\n    (" : " (";
  if (chance(50)) out += "ByVal h As Long";
  out += ")";
  if (chance(40)) out += chance(50) ? " _\r\n  As Long" : " As Long";
  return out;
}

std::string RandomVba::randomStatement() {
  std::string out;
  const std::uint32_t tokens = below(9);
  for (std::uint32_t i = 0; i < tokens; ++i) {
    const std::uint32_t roll = below(100);
    if (roll < 60) out += " ";
    else if (roll < 65) out += "\t";
    out += chance(8) ? literal() : token();
  }
  if (chance(20)) out += comment();
  return out;
}

std::string RandomVba::indentation() {
  const std::uint32_t roll = below(10);
  if (roll < 5) return "";
  if (roll < 8) return "    ";
  if (roll == 8) return "\t";
  return " \t ";
}

std::string RandomVba::line() {
  const std::uint32_t roll = below(100);
  if (roll < 12) return chance(25) ? oneLineRoutine() : header();
  if (roll < 17) return declaration();
  if (roll < 35) return indentation() + std::string(kShapes[below(kShapes.size())]);
  if (roll < 45) return indentation() + identifier() + " = " + literal() + (chance(40) ? comment() : "");
  if (roll < 50) return indentation() + comment();
  if (roll < 56) return "";
  if (roll < 59) return std::string(1 + below(4), ' ');
  return indentation() + randomStatement();
}

std::string RandomVba::lineEnd() {
  const std::uint32_t roll = below(100);
  if (roll < 88) return "\r\n";
  if (roll < 94) return " _\r\n";
  if (roll < 97) return "_\r\n";
  if (roll < 98) return "\r\n\r\n";
  return chance(50) ? "\n" : "\r";  // stray line-end halves must not upset anything
}

std::string RandomVba::module(int maxLines) {
  std::string out;
  const int lines = static_cast<int>(below(static_cast<std::uint32_t>(maxLines) + 1));
  for (int i = 0; i < lines; ++i) {
    out += chance(4) ? conditionalHeaders() : line();
    if (i + 1 < lines || chance(85)) out += lineEnd();
  }
  return out;
}

}  // namespace cq::test
