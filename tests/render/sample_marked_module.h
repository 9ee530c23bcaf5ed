#pragma once
// A small marked-up module that exercises every run kind and every character the
// renderers treat in their own way (Windows-1252 bytes: E4 ä, F6 ö, FC ü, C4 Ä, D6 Ö, DC Ü, DF ß).
#include <string>
#include <string_view>

#include "text/markers.h"

namespace cq::test {

inline std::string keyword(std::string_view word) {
  return std::string(markers::kKeyword) + std::string(word) + std::string(markers::kEnd);
}

inline std::string literal(std::string_view quoted) {
  return std::string(markers::kString) + std::string(quoted) + std::string(markers::kEnd);
}

inline std::string comment(std::string_view text) {
  return std::string(markers::kComment) + std::string(text) + std::string(markers::kEnd);
}

inline std::string boldLine(std::string_view line) {
  return std::string(markers::kBold) + std::string(line) + std::string(markers::kBoldEnd);
}

inline std::string sampleMarkedModule() {
  const std::string crlf = "\r\n";
  std::string m = crlf;
  m += keyword("Option") + " " + keyword("Explicit") + crlf;
  m += crlf;
  m += comment("' Größe & Breite: {Maße} in C:\\Temp") + crlf;
  m += boldLine(keyword("Private") + " " + keyword("Function") + " Fläche(a " + keyword("As") + " " +
                keyword("Long") + ", b " + keyword("As") + " " + keyword("Long") + ") " + keyword("As") + " " +
                keyword("String")) +
       crlf;
  m += std::string("\t") + keyword("Dim") + " s " + keyword("As") + " " + keyword("String") + crlf;
  m += std::string("\t") + keyword("If") + " a < b " + keyword("And") + " b > 0 " + keyword("Then") + " s = " +
       literal("\"<ÄÖÜ äöü> & \\n {x}\"") + " + " + literal("\":\"") + " " +
       comment("' (kleiner)") + crlf;
  m += std::string("\t\tFläche = s & ") + literal("\"\"\"\"") + crlf;
  m += std::string("\t") + keyword("End") + " " + keyword("If") + crlf;
  m += boldLine(keyword("End") + " " + keyword("Function")) + crlf;
  return m;
}

}  // namespace cq::test
