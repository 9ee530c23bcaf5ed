#include "sources/module_file.h"

#include "text/ascii_case.h"
#include "sources/host_application.h"

namespace cq {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kAttribute = "Attribute ";

std::string_view trimBlanksLeft(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view trimBlanks(std::string_view text) {
  text = trimBlanksLeft(text);
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// Calls visit(line, start) for every line; a final line break starts no line.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(kLineBreak, start);
    if (end == std::string_view::npos) {
      visit(text.substr(start), start);
      return;
    }
    visit(text.substr(start, end - start), start);
    start = end + kLineBreak.size();
  }
}

std::string_view extensionOf(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  const std::size_t slash = fileName.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return fileName.substr(dot + 1);
}

}  // namespace

bool isAttributeLine(std::string_view line) { return startsWithIgnoringAsciiCase(trimBlanksLeft(line), kAttribute); }

ModuleFileParts splitModuleFile(std::string_view fileText) {
  bool inAttributeRun = false;
  std::size_t start = 0;
  while (start < fileText.size()) {
    const std::size_t end = fileText.find(kLineBreak, start);
    const std::string_view line =
        fileText.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (isAttributeLine(line)) {
      inAttributeRun = true;
    } else if (inAttributeRun) {
      return {fileText.substr(0, start), fileText.substr(start)};
    }
    if (end == std::string_view::npos) break;
    start = end + kLineBreak.size();
  }
  if (inAttributeRun) return {fileText, {}};
  return {{}, fileText};
}

std::string_view headerAttributes(std::string_view header) {
  std::size_t first = header.size();
  forEachLine(header, [&](std::string_view line, std::size_t start) {
    if (first == header.size() && isAttributeLine(line)) first = start;
  });
  return header.substr(first);
}

std::string moduleNameAttribute(std::string_view header) {
  std::string name;
  bool found = false;
  forEachLine(header, [&](std::string_view line, std::size_t) {
    if (found || !isAttributeLine(line)) return;
    std::string_view rest = trimBlanksLeft(trimBlanksLeft(line).substr(kAttribute.size()));
    constexpr std::string_view kName = "VB_Name";
    if (!startsWithIgnoringAsciiCase(rest, kName)) return;
    rest = trimBlanksLeft(rest.substr(kName.size()));
    if (rest.empty() || rest.front() != '=') return;
    rest = trimBlanks(rest.substr(1));
    if (rest.size() < 2 || rest.front() != '"') return;
    const std::size_t closing = rest.find('"', 1);
    if (closing == std::string_view::npos) return;
    name = std::string(rest.substr(1, closing - 1));
    found = true;
  });
  return name;
}

int moduleFileComponentType(std::string_view fileName, std::string_view header, std::string_view moduleName) {
  const std::string_view extension = extensionOf(fileName);
  if (equalsIgnoringAsciiCase(extension, "bas")) return kStandardModule;
  // An Access form's module is exported as a form under its document module's name.
  if (equalsIgnoringAsciiCase(extension, "frm"))
    return startsWithIgnoringAsciiCase(moduleName, "Form_") ? kDocumentModule : kUserForm;
  if (equalsIgnoringAsciiCase(extension, "cls")) {
    const bool documentModule = findIgnoringAsciiCase(header, "Attribute VB_Base") != std::string_view::npos ||
                                startsWithIgnoringAsciiCase(moduleName, "Form_") ||
                                startsWithIgnoringAsciiCase(moduleName, "Report_");
    return documentModule ? kDocumentModule : kClassModule;
  }
  return kDesignerComponent;
}

ModuleCode::ModuleCode(std::string_view code) {
  text_.reserve(code.size());
  forEachLine(code, [&](std::string_view line, std::size_t) {
    if (isAttributeLine(line)) {
      hiddenLines_.push_back({countOfLines(), std::string(line)});
      return;
    }
    if (!lineStarts_.empty()) text_ += kLineBreak;
    lineStarts_.push_back(text_.size());
    text_ += line;
  });
}

std::string ModuleCode::lines(long first, long count) const {
  const long total = countOfLines();
  if (first < 1 || first > total || count <= 0) return {};
  const long last = count > total - first ? total : first - 1 + count;  // 1-based, inclusive
  const std::size_t begin = lineStarts_[first - 1];
  const std::size_t end =
      last < total ? lineStarts_[last] - kLineBreak.size() : text_.size();
  return text_.substr(begin, end - begin);
}

std::string ModuleCode::sourceText() const {
  std::string source;
  source.reserve(text_.size() + kLineBreak.size() * (lineStarts_.size() + hiddenLines_.size()));
  auto hidden = hiddenLines_.begin();
  const long total = countOfLines();
  for (long visible = 0; visible <= total; ++visible) {
    for (; hidden != hiddenLines_.end() && hidden->visibleBefore == visible; ++hidden) {
      source.append(hidden->text).append(kLineBreak);
    }
    if (visible == total) break;
    const std::size_t begin = lineStarts_[visible];
    const std::size_t end = visible + 1 < total ? lineStarts_[visible + 1] - kLineBreak.size() : text_.size();
    source.append(text_, begin, end - begin).append(kLineBreak);
  }
  return source;
}

}  // namespace cq
