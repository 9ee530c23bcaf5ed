#include "sources/module_file_export.h"

#include <algorithm>
#include <array>

#include "sources/host_application.h"
#include "sources/module_file.h"
#include "text/ascii_case.h"

namespace cq {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

constexpr std::string_view kClassHeader = "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n";
// The class of the forms designer, as the editor names it in every .frm file.
constexpr std::string_view kFormDesignerClass = "{C62A69F0-16DC-11CE-9E98-00AA00574A4F}";

constexpr std::array<std::string_view, 3> kDocumentOnlyAttributes = {"VB_Base", "VB_TemplateDerived",
                                                                     "VB_Customizable"};

// The attribute's name: the word after "Attribute ", up to a blank or "=".
std::string_view attributeName(std::string_view line) {
  line.remove_prefix(line.find_first_not_of(' '));
  line.remove_prefix(std::string_view("Attribute ").size());
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  line.remove_prefix(start);
  return line.substr(0, line.find_first_of(" ="));
}

bool keepsAttribute(std::string_view name, int componentType) {
  if (equalsIgnoringAsciiCase(name, "VB_Name")) return false;  // written first, with the module's name
  if (componentType != kClassModule && componentType != kUserForm) return true;
  for (std::string_view dropped : kDocumentOnlyAttributes)
    if (equalsIgnoringAsciiCase(name, dropped)) return false;
  return true;
}

}  // namespace

bool isAccessForm(int componentType, std::string_view name) {
  return componentType == kDocumentModule && startsWithIgnoringAsciiCase(name, "Form_");
}

std::string_view moduleFileExtension(int componentType, std::string_view name) {
  switch (componentType) {
    case kStandardModule:
      return ".bas";
    case kDocumentModule:
      return isAccessForm(componentType, name) ? ".frm" : ".cls";
    case kClassModule:
      return ".cls";
    case kUserForm:
      return ".frm";
    default:
      return {};
  }
}

std::string moduleFileText(std::string_view name, int componentType, std::string_view source) {
  std::string file;
  file.reserve(source.size() + 512);
  if (componentType == kUserForm || isAccessForm(componentType, name)) {
    file.append("VERSION 5.00\r\nBegin ").append(kFormDesignerClass).append(" ").append(name);
    file.append("\r\nEnd\r\n");
  } else if (componentType == kClassModule || componentType == kDocumentModule) {
    file.append(kClassHeader);
  }
  file.append("Attribute VB_Name = \"").append(name).append("\"\r\n");

  // The attribute lines at the top; the first other line starts the code, which
  // is written as it is (attribute lines of procedures included).
  std::size_t start = 0;
  while (start < source.size()) {
    std::size_t end = source.find(kLineBreak, start);
    end = end == std::string_view::npos ? source.size() : end;
    const std::string_view line = source.substr(start, end - start);
    if (!isAttributeLine(line)) break;
    if (keepsAttribute(attributeName(line), componentType)) file.append(line).append(kLineBreak);
    start = std::min(source.size(), end + kLineBreak.size());
  }
  file.append(source.substr(start));
  if (!file.ends_with(kLineBreak)) file.append(kLineBreak);
  return file;
}

}  // namespace cq
