#include "ui/dialogs/file_filter.h"

#include "text/ascii_case.h"
#include "text/text_replace.h"

namespace cq {

Outcome<FileFilter> translateFileFilter(std::string_view filterText) {
  if (filterText.empty() || filterText.back() != ';') return Failure{"Bitte Filterart mit ; abschließen"};
  FileFilter filter;
  std::size_t start = 0;
  while (start < filterText.size()) {
    const std::size_t end = filterText.find(';', start);
    const std::string_view entry = filterText.substr(start, end - start);
    start = end + 1;
    const std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos) return Failure{"Doppelpunkt vergessen"};
    const std::string_view extensions = entry.substr(colon + 1);
    const std::string pattern =
        extensions.empty() ? std::string("*.*") : "*." + replaceAll(extensions, ",", ", *.");
    FileFilterEntry translated;
    translated.name = std::string(entry.substr(0, colon));
    translated.description = translated.name + " (" + toLowerAscii(pattern) + ")";
    translated.patterns = replaceAll(pattern, ",", ";");
    filter.entries.push_back(std::move(translated));
  }
  return filter;
}

std::string qtFileFilter(const FileFilter& filter) {
  std::string qtFilter;
  for (const FileFilterEntry& entry : filter.entries) {
    if (!qtFilter.empty()) qtFilter += ";;";
    // Qt separates patterns by blanks, and "*.*" would miss names without a dot.
    // Some desktops' dialogs match patterns with case, so "*.RTF" also comes as "*.rtf".
    std::string patterns = "*";
    if (entry.patterns != "*.*") {
      patterns = replaceAll(entry.patterns, "; ", " ");
      if (const std::string lower = toLowerAscii(patterns); lower != patterns) patterns += " " + lower;
    }
    qtFilter += entry.name + " (" + patterns + ")";
  }
  return qtFilter;
}

}  // namespace cq
