#include "support/code_page_corpus.h"

#include <algorithm>

#include "support/corpus.h"
#include "text/ascii_case.h"

namespace fs = std::filesystem;

namespace cq::test {

std::vector<CorpusCodePageProject> codePageCorpusProjects() {
  const fs::path root = corpusRoot();
  if (root.empty()) return {};
  CorpusCodePageProject japanese;
  japanese.language = "Japanisch";
  japanese.document = root / "RelaxTools__Hidennotare/hidennotare.xlsm";
  japanese.sources = root / "RelaxTools__Hidennotare/src";
  japanese.codePage = 932;
  japanese.withoutSourceFile = {"Sheet1", "Sheet2", "Sheet3", "Sheet4", "ThisWorkbook"};
  // The form waits longer in the repository's file than in the saved workbook.
  japanese.edited = {{"frmTest", "            Process.Sleep 10", "            Process.Sleep 100"}};
  japanese.knownModule = "Sample";
  japanese.knownLine = "    '改行する場合";

  CorpusCodePageProject russian;
  russian.language = "Russisch";
  russian.document = root / "tkdesign__userfunc_ru/dist/userfunc_ru.xlam";
  russian.sources = root / "tkdesign__userfunc_ru";
  russian.codePage = 1251;
  russian.withoutSourceFile = {"Лист1", "Лист2"};
  russian.knownModule = "MainMod";
  russian.knownLine = "' Purpose: Заливка выделенных ячеек выбранным цветом из набора";
  return {japanese, russian};
}

std::map<std::string, fs::path> moduleFilesByStem(const fs::path& folder) {
  std::map<std::string, fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || !(equalsIgnoringAsciiCase(extension, ".bas") ||
                                      equalsIgnoringAsciiCase(extension, ".cls") ||
                                      equalsIgnoringAsciiCase(extension, ".frm")))
      continue;
    files.emplace(entry.path().stem().string(), entry.path());
  }
  return files;
}

std::vector<std::string> withEditsUndone(std::vector<std::string> lines, const std::string& module,
                                         const std::vector<EditedLine>& edited) {
  for (const EditedLine& edit : edited) {
    if (edit.module != module) continue;
    std::replace(lines.begin(), lines.end(), edit.exportedLine, edit.documentLine);
  }
  return lines;
}

}  // namespace cq::test
