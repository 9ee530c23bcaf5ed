#include "projectfolder/module_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>

#include "sources/document_loader.h"
#include "sources/host_application.h"
#include "sources/module_file.h"
#include "sources/vba/code_page.h"
#include "sources/module_file_export.h"
#include "support/code_page_corpus.h"
#include "support/corpus.h"
#include "support/office_samples.h"
#include "support/random_vba.h"
#include "support/temp_folder.h"
#include "text/ascii_case.h"
#include "text/text_decoding.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

struct RoundTrip {
  std::size_t modules = 0;
  std::size_t lines = 0;
  std::size_t unmarkedDocumentModules = 0;
};

// Reading the exported folder gives every module of `document` that has a
// module file, with its name, type and code lines.
RoundTrip expectSameModules(const LoadedProject& document, const LoadedProject& folder) {
  RoundTrip counted;
  std::map<std::string, const LoadedComponent*> read;
  for (const LoadedComponent& component : folder.components()) read[toLowerAscii(component.name())] = &component;
  std::size_t exportable = 0;
  for (const LoadedComponent& module : document.components()) {
    if (moduleFileExtension(module.type(), module.name()).empty()) continue;
    ++exportable;
    const auto found = read.find(toLowerAscii(module.name()));
    if (found == read.end()) {
      ADD_FAILURE() << document.fileName() << ": module " << module.name() << " missing";
      continue;
    }
    const LoadedComponent& again = *found->second;
    EXPECT_EQ(again.name(), module.name()) << document.fileName();
    // The files are written in the project's code page and read back in the
    // code page detected for them, so every character comes back: Windows-1252
    // text that happens to be valid UTF-8 in places stays as it is.
    const std::string lines = module.lines(1, module.countOfLines());
    const std::string file = moduleFileText(module.name(), module.type(), module.source());
    // A .cls file tells a document module by its VB_Base attribute (or an
    // Access name): one whose stream holds none (a module without source)
    // comes back as a class module.
    const bool unmarked =
        module.type() == kDocumentModule && findIgnoringAsciiCase(file, "VB_Base") == std::string::npos &&
        !startsWithIgnoringAsciiCase(module.name(), "Form_") && !startsWithIgnoringAsciiCase(module.name(), "Report_");
    counted.unmarkedDocumentModules += unmarked ? 1 : 0;
    EXPECT_EQ(again.type(), unmarked ? kClassModule : module.type()) << document.fileName() << ": " << module.name();
    EXPECT_EQ(again.lines(1, again.countOfLines()), lines)
        << document.fileName() << ": " << module.name();
    ++counted.modules;
    counted.lines += static_cast<std::size_t>(module.countOfLines());
  }
  EXPECT_EQ(folder.components().size(), exportable) << document.fileName();
  return counted;
}

RoundTrip exportAndReadBack(const fs::path& document, const fs::path& folder) {
  const LoadedProject project = loadDocument(document);
  EXPECT_EQ(project.loadError(), "") << document;
  const Outcome<ModuleExport> exported = exportModuleFiles(project, folder);
  EXPECT_TRUE(exported.ok()) << document << ": " << (exported ? "" : exported.failure().text());
  if (!exported) return {};
  // Module files carry no code page: the detected one must be the document's
  // wherever the detector can tell (Windows code pages with enough text);
  // read in the document's own, every document comes back exactly.
  const LoadedProject detected = loadDocument(folder);
  if (detected.codePage() != project.codePage())
    std::cout << document << ": code page " << project.codePage() << ", detected " << detected.codePage() << "\n";
  return expectSameModules(project, loadDocument(folder, project.codePage()));
}

using test::fileBytes;

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ModuleExport, GeneratedDocumentsComeBackFromTheirModuleFiles) {
  test::TempFolder root;
  // Every kind of Office file, and a workbook with random code in each kind of module.
  std::vector<test::OfficeSample> documents = test::officeSamples();
  test::RandomVba random(4711);
  test::VbaProjectPlan plan;
  plan.name = "Zufall";
  for (int kind : {kStandardModule, kClassModule, kUserForm, kDocumentModule}) {
    for (int i = 0; i < 5; ++i) {
      std::string code =
          kind == kDocumentModule ? "Attribute VB_Base = \"0{00020820-0000-0000-C000-000000000046}\"\r\n" : "";
      plan.modules.push_back(
          {"K" + std::to_string(kind) + "_" + std::to_string(i), "", kind,
           code + *textToCodePage(random.module(60), 1252)});
    }
  }
  documents.push_back({"Zufall.xlsm", test::macroWorkbookBytes(test::buildVbaProjectStreams(plan))});
  RoundTrip total;
  for (const test::OfficeSample& sample : documents) {
    const fs::path folder = root.path() / ("Export_" + sample.fileName);
    const RoundTrip trip = exportAndReadBack(root.writeFile(sample.fileName, sample.bytes), folder);
    total.modules += trip.modules;
    total.lines += trip.lines;
    // The folder read back exports to the very same files.
    const fs::path again = root.path() / ("Wieder_" + sample.fileName);
    ASSERT_TRUE(exportModuleFiles(loadDocument(folder, kWindows1252CodePage), again).ok());
    ASSERT_EQ(namesIn(again), namesIn(folder));
    for (const std::string& name : namesIn(folder))
      if (name != ".codequorix-export") EXPECT_EQ(fileBytes(again / name), fileBytes(folder / name)) << name;
  }
  EXPECT_EQ(total.modules, 5 * 3 + plan.modules.size());
  EXPECT_EQ(namesIn(root.path() / "Export_Mappe.xlsm"),
            (std::vector<std::string>{".codequorix-export", "DieseArbeitsmappe.cls", "Klasse1.cls", "Modul1.bas"}));
}

TEST(ModuleExport, FileNamesAreCleanedAndKeptApart) {
  LoadedProject project("x", "x");
  project.addComponent({"Ab", kStandardModule, ModuleCode("a")});
  project.addComponent({"A:b", kStandardModule, ModuleCode("b")});  // cleaned, it clashes with "Ab"
  project.addComponent({"AB?", kClassModule, ModuleCode("c")});     // other extension: no clash
  project.addComponent({"..\x01/", kUserForm, ModuleCode("d")});    // nothing left: a name of ours
  project.addComponent({"Steuerung", kDesignerComponent, ModuleCode("e")});
  EXPECT_EQ(moduleFileNames(project), (std::vector<std::string>{"Ab.bas", "Ab (2).bas", "AB.cls", "Modul.frm", ""}));

  test::TempFolder root;
  const Outcome<ModuleExport> exported = exportModuleFiles(project, root.path() / "neu" / "tief");
  ASSERT_TRUE(exported.ok());
  EXPECT_EQ(exported->written, 4u);
  EXPECT_EQ(exported->skipped, std::vector<std::string>{"Steuerung"});
  EXPECT_EQ(fileBytes(root.path() / "neu/tief/Ab (2).bas"), "Attribute VB_Name = \"A:b\"\r\nb\r\n");
}

TEST(ModuleExport, OnlyAnEarlierExportOfTheSameProjectIsReplaced) {
  test::TempFolder root;
  const auto samples = test::officeSamples();
  const fs::path xlsm = root.writeFile(samples[0].fileName, samples[0].bytes);
  const LoadedProject project = loadDocument(xlsm);

  // Anything but module files, and module files no export of this project
  // wrote, are refused and left alone; the message names a foreign module file.
  for (const auto& [foreign, named] : {std::pair{"Fremd/notiz.txt", "ist nicht leer"},
                                       {"Fremd2/Unter/Modul.bas", "ist nicht leer"},
                                       {"Fremd3/Quellen.bas", "die Moduldatei \"Quellen.bas\", die kein"}}) {
    const fs::path file = root.writeFile(foreign, "x");
    const fs::path folder = root.path() / fs::path(foreign).begin()->string();
    const Outcome<ModuleExport> refused = exportModuleFiles(project, folder);
    ASSERT_FALSE(refused.ok()) << foreign;
    EXPECT_NE(refused.failure().message.find(named), std::string::npos) << refused.failure().message;
    EXPECT_EQ(fileBytes(file), "x");
    EXPECT_EQ(namesIn(folder).size(), 1u) << foreign;
  }
  const Outcome<ModuleExport> noFolder = exportModuleFiles(project, xlsm);
  ASSERT_FALSE(noFolder.ok());
  EXPECT_NE(noFolder.failure().message.find("ist kein Ordner"), std::string::npos);

  // The VBA editor's export of the same modules (names in any case, forms'
  // .frx files) is taken over; what this export wrote is listed in the folder.
  const fs::path folder = root.path() / "Export";
  root.writeFile("Export/modul1.BAS", "Attribute VB_Name = \"modul1\"\r\n");
  root.writeFile("Export/Form.frx", "designer");
  root.writeFile("Export/.git/config", "[core]\n");
  const Outcome<ModuleExport> first = exportModuleFiles(project, folder);
  ASSERT_TRUE(first.ok()) << first.failure().text();
  EXPECT_EQ(first->written, 3u);
  const std::vector<std::string> exported{".codequorix-export", ".git", "DieseArbeitsmappe.cls", "Form.frx",
                                          "Klasse1.cls", "Modul1.bas"};
  EXPECT_EQ(namesIn(folder), exported);
  EXPECT_EQ(fileBytes(folder / "Form.frx"), "designer");

  // A later export removes the files of modules the project no longer has,
  // and only those its own earlier export wrote.
  std::ofstream(folder / ".codequorix-export", std::ios::app) << "Alt.bas\n";
  root.writeFile("Export/Alt.bas", "Attribute VB_Name = \"Alt\"\r\n");
  fs::permissions(folder / "Modul1.bas", fs::perms::owner_read | fs::perms::owner_write);
  const Outcome<ModuleExport> again = exportModuleFiles(project, folder);
  ASSERT_TRUE(again.ok()) << again.failure().text();
  EXPECT_EQ(again->removed, 1u);
  EXPECT_EQ(namesIn(folder), exported);
  EXPECT_EQ(fs::status(folder / "Modul1.bas").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  // Another document's export into the same folder is refused: its files are foreign there.
  const fs::path copy = root.path() / "Kopie.xlsm";
  fs::copy_file(xlsm, copy);
  const Outcome<ModuleExport> other = exportModuleFiles(loadDocument(copy), folder);
  ASSERT_FALSE(other.ok());
  EXPECT_NE(other.failure().message.find("kein fr\xC3\xBCherer Export dieses Projekts"), std::string::npos);
  EXPECT_EQ(namesIn(folder), exported);
  EXPECT_EQ(namesIn(root.path()).size(), 6u) << "no staging folder left";

  // A folder of module files read as a project is not written over with its own modules.
  const Outcome<ModuleExport> onItself = exportModuleFiles(loadDocument(folder), folder);
  ASSERT_FALSE(onItself.ok());
  EXPECT_NE(onItself.failure().message.find("ist die Quelle des Projekts"), std::string::npos);
}

TEST(ModuleExport, CorpusDocumentsComeBackFromTheirModuleFiles) {
  CQ_SKIP_WITHOUT_CORPUS();
  const std::vector<fs::path> documents = test::corpusFiles(
      {".xlsm", ".xlsb", ".xlam", ".xltm", ".docm", ".dotm", ".pptm", ".potm", ".ppam",  ".xls",  ".xla",
       ".xlt",  ".doc",  ".dot",  ".ppt",  ".pps",  ".pot",  ".bin",  ".mdb",  ".accdb", ".accda"});
  test::TempFolder root;
  RoundTrip total;
  std::size_t read = 0;
  for (std::size_t i = 0; i < documents.size(); ++i) {
    const RoundTrip trip = exportAndReadBack(documents[i], root.path() / std::to_string(i));
    total.modules += trip.modules;
    total.lines += trip.lines;
    total.unmarkedDocumentModules += trip.unmarkedDocumentModules;
    read += trip.modules > 0 ? 1 : 0;
  }
  EXPECT_EQ(read, documents.size());
  std::cout << "Corpus round trip: " << documents.size() << " documents, " << total.modules << " modules, "
            << total.lines << " code lines (" << total.unmarkedDocumentModules << " document modules without VB_Base read back as class modules)\n";
  RecordProperty("documents", static_cast<int>(documents.size()));
  RecordProperty("modules", static_cast<int>(total.modules));
  RecordProperty("lines", static_cast<int>(total.lines));
}

// A module file's bytes cut into lines at CR LF, LF and CR: no byte of a
// two-byte character of code page 932 is one of them (1251 has none).
std::vector<std::string> byteLines(const std::string& bytes) {
  std::vector<std::string> lines;
  const std::string text = normalizeLineEnds(bytes);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The lines of a file's header (to the end of its first run of attribute lines) and of its code.
std::pair<std::vector<std::string>, std::vector<std::string>> headerAndCode(const std::string& bytes) {
  std::vector<std::string> lines = byteLines(bytes);
  const std::size_t headerLines = byteLines(std::string(splitModuleFile(normalizeLineEnds(bytes)).header)).size();
  std::vector<std::string> header(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(headerLines));
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(headerLines));
  return {header, lines};
}

// The Japanese and the Russian document export to the module files their author
// exported with the editor: every code line the same bytes in the project's code
// page, and the header of a .bas or .cls file line for line. What legitimately
// differs:
// - Line ends: the files written are CR LF throughout; the Russian repository
//   keeps its files with LF.
// - ЭтаКнига.cls of the Russian repository was saved as UTF-8 with a BOM, without
//   a header and without a final line break by some other tool: it is compared
//   in the project's code page, and its header is the editor's alone.
// - A form's header: the document keeps the designer's properties (caption,
//   size, position) in the form's own storage, not with the code, so the lines
//   between "Begin" and "End" are the editor's alone, and the editor writes a
//   blank after the form's name on the "Begin" line.
// - The one line the author changed in the exported file after saving the
//   document (CorpusCodePageProject::edited).
TEST(ModuleExport, CodePageCorpusDocumentsExportTheirAuthorsModuleFiles) {
  CQ_SKIP_WITHOUT_CORPUS();
  test::TempFolder root;
  for (const test::CorpusCodePageProject& project : test::codePageCorpusProjects()) {
    SCOPED_TRACE(project.language);
    const LoadedProject document = loadDocument(project.document);
    ASSERT_EQ(document.loadError(), "");
    const fs::path folder = root.path() / project.language;
    const Outcome<ModuleExport> exported = exportModuleFiles(document, folder);
    ASSERT_TRUE(exported.ok()) << exported.failure().text();
    EXPECT_EQ(exported->written, document.components().size());
    std::vector<test::EditedLine> edited;
    for (const test::EditedLine& edit : project.edited)
      edited.push_back({edit.module, *textToCodePage(edit.documentLine, project.codePage),
                        *textToCodePage(edit.exportedLine, project.codePage)});
    const std::map<std::string, fs::path> written = test::moduleFilesByStem(folder);
    std::size_t files = 0, lines = 0;
    for (const auto& [stem, original] : test::moduleFilesByStem(project.sources)) {
      SCOPED_TRACE(original.string());
      const auto ours = written.find(stem);
      ASSERT_NE(ours, written.end());
      EXPECT_EQ(ours->second.extension(), original.extension());
      const std::string bytes = fileBytes(ours->second);
      EXPECT_EQ(normalizeLineEnds(bytes), bytes);
      std::string expected = fileBytes(original);
      if (expected.starts_with(kUtf8Bom)) {
        expected = *textToCodePage(std::string_view(expected).substr(kUtf8Bom.size()), project.codePage);
      }
      if (!expected.ends_with('\n')) expected += "\r\n";
      const auto [header, code] = headerAndCode(bytes);
      const auto [expectedHeader, expectedCode] = headerAndCode(expected);
      EXPECT_EQ(code, test::withEditsUndone(expectedCode, stem, edited));
      if (!expectedHeader.empty() && equalsIgnoringAsciiCase(original.extension().string(), ".frm")) {
        const auto attributes = [](const std::vector<std::string>& lines) {
          return std::vector<std::string>(std::find_if(lines.begin(), lines.end(), isAttributeLine), lines.end());
        };
        EXPECT_EQ(attributes(header), attributes(expectedHeader));
        EXPECT_EQ(header[1] + " ", expectedHeader[1]);  // Begin {class} name
      } else if (!expectedHeader.empty()) {
        EXPECT_EQ(header, expectedHeader);
      }
      ++files;
      lines += code.size();
    }
    std::cout << project.language << ": " << files << " module files as the author's, " << lines << " code lines\n";
  }
}

}  // namespace
}  // namespace cq
