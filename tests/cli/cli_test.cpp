// codequorix-cli as users run it: usage, the sample project end to end (module
// files, HTML and RTF against golden files), project folders and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "sources/vba/code_page.h"
#include "support/golden.h"
#include "support/office_file_writer.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/vba_project_writer.h"
#include "text/text_replace.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::runCli;

const fs::path kSample = fs::path(CQ_SOURCE_DIR) / "samples" / "Lagerverwaltung";

TEST(CliUsage, WrongUsageExitsWithTwoAndExplains) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"frobnicate"}, {"text", "/tmp"}, {"html", "/tmp", "--project", "1"},
        {"read", "only-one"}, {"export", "only-one"}, {"export", "a", "b", "--module", "1"},
        {"html", "/tmp", "--module", "x"}, {"html", "/tmp", "--module"},
        {"list", "a", "--option", "novalue"}, {"read", "a", "b", "--encoding", "klingonisch"},
        {"list", "a", "--encoding"}}) {
    const auto result = runCli(args);
    EXPECT_EQ(result.exitCode, 2) << args.size();
    EXPECT_NE(result.err.find("Aufruf:"), std::string::npos);
  }
}

TEST(CliSample, ReadWritesModuleFilesAndExportsMatchGoldenFiles) {
  const test::TempFolder work;
  const fs::path project = work.path() / "Lager";
  const auto list = runCli({"list", kSample.string()});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_TRUE(test::matchesGolden("sample_list.txt", list.out));
  const auto read = runCli({"read", kSample.string(), project.string()});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_NE(read.out.find("Module: 4\nRoutinen: 21\nZeichensatz: Westeuropäisch (1252)\nErsetzte Zeichen: 0\n"),
            std::string::npos)
      << read.out;
  EXPECT_TRUE(read.err.empty()) << read.err;
  for (const char* name : {"M1.txt", "M2.txt", "M3.txt", "M4.txt"})
    EXPECT_TRUE(test::matchesGolden(std::string("sample_") + name, test::fileBytes(project / name))) << name;
  const auto html = runCli({"html", project.string()});
  ASSERT_EQ(html.exitCode, 0) << html.err;
  // Standard output ends with a line break; the file of -o is the window's, byte for byte.
  ASSERT_TRUE(html.out.ends_with("</pre>\r\n"));
  EXPECT_TRUE(test::matchesGolden("sample_project.html", html.out.substr(0, html.out.size() - 2)));
  const fs::path rtfFile = work.path() / "lager.rtf";
  const auto rtf = runCli({"rtf", project.string(), "-o", rtfFile.string()});
  ASSERT_EQ(rtf.exitCode, 0) << rtf.err;
  EXPECT_TRUE(test::matchesGolden("sample_project.rtf", test::fileBytes(rtfFile)));
  // The preview page as the window writes it, and the fragment as UTF-8 in a file.
  const fs::path page = work.path() / "vorschau.htm";
  const auto pageRun = runCli({"html", project.string(), "--page", "-o", page.string()});
  ASSERT_EQ(pageRun.exitCode, 0) << pageRun.err;
  EXPECT_TRUE(pageRun.out.empty());
  EXPECT_TRUE(test::matchesGolden("sample_preview.htm", test::fileBytes(page)));
  const fs::path fragment = work.path() / "fragment.html";
  ASSERT_EQ(runCli({"html", project.string(), "-o", fragment.string()}).exitCode, 0);
  EXPECT_EQ(test::fileBytes(fragment) + "\r\n", html.out);
  // A file that cannot be written is a failure, and nothing is left behind.
  const auto unwritable = runCli({"rtf", project.string(), "-o", (work.path() / "fehlt" / "x.rtf").string()});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_NE(unwritable.err.find("konnte nicht geschrieben werden"), std::string::npos) << unwritable.err;
  EXPECT_FALSE(fs::exists(work.path() / "fehlt"));

  const auto moduleHtml = runCli({"html", project.string(), "--module", "3"});
  EXPECT_EQ(moduleHtml.out.rfind("<pre>", 0), 0u);
  EXPECT_EQ(moduleHtml.out.find("Modul:"), std::string::npos);  // no banner for one module

  const auto text = runCli({"text", project.string(), "--module", "3"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  // LF on standard output, CR LF with --crlf; a line break at the end either way.
  EXPECT_EQ(text.out.find('\r'), std::string::npos);
  EXPECT_TRUE(text.out.ends_with("\n"));
  EXPECT_EQ(runCli({"text", project.string(), "--module", "3", "--crlf"}).out, replaceAll(text.out, "\n", "\r\n"));
  for (const std::vector<std::string>& args : {std::vector<std::string>{"rtf", project.string()},
                                               {"html", project.string(), "--module", "2"}})
    EXPECT_TRUE(runCli(args).out.ends_with("\n")) << args[0];
  EXPECT_EQ(text.out.find("\xC5\xB8"), std::string::npos);  // no marker left
  EXPECT_NE(text.out.find("' Lagerbestand und Bestellvorschl\xC3\xA4ge"), std::string::npos);
  const auto missing = runCli({"text", project.string(), "--module", "9"});
  EXPECT_TRUE(missing.exitCode == 1 && !missing.err.empty());
}

// The code page of a project's code is recorded in its folder and declared by
// its RTF documents, module and project alike.
TEST(CliSample, RtfOfAProjectInAnotherCodePageDeclaresIt) {
  const test::TempFolder work;
  test::VbaProjectPlan plan;
  plan.name = "Mappe";
  plan.codePage = 932;
  plan.modules.push_back({"Modul1", "", 1, *textToCodePage("Sub Test()\r\n  ' 改行\r\nEnd Sub\r\n", 932)});
  const fs::path document =
      work.writeFile("Mappe.xlsm", test::macroWorkbookBytes(test::buildVbaProjectStreams(plan)));
  const fs::path project = work.path() / "p";
  const auto read = runCli({"read", document.string(), project.string()});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"rtf", project.string()}, {"rtf", project.string(), "--module", "1"}}) {
    const auto rtf = runCli(args);
    ASSERT_EQ(rtf.exitCode, 0) << rtf.err;
    EXPECT_EQ(rtf.out.rfind("{\\rtf1\\ansi\\ansicpg932\\deff0", 0), 0u) << rtf.out.substr(0, 60);
    EXPECT_NE(rtf.out.find("' \\u25913?\\u-30644?"), std::string::npos);  // 改行, signed units
  }
  EXPECT_NE(runCli({"text", project.string(), "--module", "1"}).out.find("  ' 改行"), std::string::npos);
}

TEST(CliSample, ExportWritesModuleFilesIntoAnEmptyFolderOnly) {
  const test::TempFolder work;
  const fs::path folder = work.path() / "Export";
  const auto exported = runCli({"export", (kSample / "Lagerverwaltung.vbp").string(), folder.string()});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_EQ(exported.out,
            "Projekt: Lagerverwaltung\nZeichensatz: Westeuropäisch (1252)\nModuldateien: 4\n"
            "Entfernte alte Moduldateien: 0\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{".codequorix-export", "ThisWorkbook.cls", "clsArtikel.cls", "frmBestellung.frm",
                                      "modLager.bas"}));
  // A folder that holds other files is refused.
  const fs::path foreign = work.path() / "Fremd";
  fs::create_directories(foreign / "Unterordner");
  const auto refused = runCli({"export", kSample.string(), foreign.string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("ist nicht leer und enth\xC3\xA4lt nicht nur Moduldateien"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(foreign / "Unterordner"));
}

TEST(CliSample, SettingsChangeTheReadAndTheExport) {
  const test::TempFolder work;
  const fs::path project = work.path() / "p";
  const auto read = runCli({"read", kSample.string(), project.string(), "--option", "rle=-1", "--option",
                            "einr=-1", "--option", "rer=-1"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const std::string module = test::fileBytes(project / "M2.txt");
  // The empty line above a header carries no tab, nor does the header.
  EXPECT_NE(module.find("\r\n\r\n|\x9F" "x|"), std::string::npos);
  EXPECT_EQ(module.find("\t\r\n"), std::string::npos);
  EXPECT_NE(module.find("\r\n\t|\x9F" "f|Set|n"), std::string::npos);  // routine body: rer
  EXPECT_NE(module.find("\r\n\t\tlstVorschlag.AddItem"), std::string::npos);  // loop body: einr
  const auto html = runCli({"html", project.string(), "--module", "1", "--option", "fkey=255", "--option",
                            "rouf=0", "--option", "font=Courier New,12"});
  EXPECT_NE(html.out.find("color:#FF0000"), std::string::npos);
  EXPECT_EQ(html.out.find("<b>"), std::string::npos);
  EXPECT_NE(html.out.find("font-family:Courier New,Arial; font-size:12pt"), std::string::npos);
}

TEST(CliEncoding, ModuleFilesAreReadInTheDetectedOrTheNamedCodePage) {
  // Two Russian module files as the editor writes them on a Cyrillic system.
  const test::TempFolder work;
  const std::string code = "Attribute VB_Name = \"Модуль1\"\r\n' Цвет текста ячейки\r\n"
                           "Public Function ЦветТекста(ByVal ячейка As Range) As Long\r\n"
                           "    ЦветТекста = ячейка.Font.Color ' цвет шрифта\r\nEnd Function\r\n";
  work.writeFile("Quelle/Модуль1.bas", *textToCodePage(code, 1251));
  std::string second = code;
  second.replace(second.find("1\""), 1, "2");  // VB_Name = "Модуль2"
  work.writeFile("Quelle/Модуль2.bas", *textToCodePage(second, 1251));
  const std::string source = (work.path() / "Quelle").string();
  const auto detected = runCli({"read", source, (work.path() / "Auto").string()});
  ASSERT_EQ(detected.exitCode, 0) << detected.err;
  EXPECT_NE(detected.out.find("Zeichensatz: Kyrillisch (1251)\n"), std::string::npos) << detected.out;
  const auto names = runCli({"list", source});
  EXPECT_NE(names.out.find("A1\\Модуль1\tМодуль1\tM2"), std::string::npos) << names.out;
  // Named, the code page wins over the detection; an unknown name is wrong usage.
  const auto western = runCli({"list", source, "--encoding", "windows-1252"});
  EXPECT_NE(western.out.find("\tÌîäóëü1\t"), std::string::npos) << western.out;
  for (const char* name : {"1251", "cp1251", "WINDOWS-1251"}) {
    const auto named = runCli({"read", source, (work.path() / name).string(), "--encoding", name});
    EXPECT_NE(named.out.find("Zeichensatz: Kyrillisch (1251)\n"), std::string::npos) << name;
  }
  const auto search = runCli({"search", (work.path() / "Auto").string(), "ЦВЕТ", "--word"});
  // Case folded, whole words only: the comments, not the routine's name.
  EXPECT_EQ(search.out, "M1\t1\t\nM1\t3\tЦветТекста\nM2\t1\t\nM2\t3\tЦветТекста\n");
}

TEST(CliProjectFolder, ReplacesAProjectFolderAndRefusesOtherFolders) {
  const test::TempFolder work;
  const fs::path project = work.path() / "p";
  ASSERT_EQ(runCli({"read", kSample.string(), project.string()}).exitCode, 0);
  std::ofstream(project / "M9.txt") << "left over";
  std::ofstream(project / "notizen.txt") << "mine";
  ASSERT_EQ(runCli({"read", kSample.string(), project.string()}).exitCode, 0);
  EXPECT_FALSE(fs::exists(project / "M9.txt"));
  EXPECT_EQ(test::fileBytes(project / "notizen.txt"), "mine");
  const fs::path other = work.path() / "other";
  fs::create_directories(other);
  std::ofstream(other / "wichtig.doc") << "keep";
  const auto refused = runCli({"read", kSample.string(), other.string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("nicht leer"), std::string::npos) << refused.err;
  EXPECT_EQ(test::fileBytes(other / "wichtig.doc"), "keep");
  EXPECT_FALSE(fs::exists(other / "CodeQuorix.mdb"));
  EXPECT_EQ(runCli({"html", other.string()}).exitCode, 1);  // no project
}

// A read that cannot be stored (files limited as by a full disk) names what
// could not be written and why, on one line, leaves the previous project as it was and nothing beside it; a database
// without modules is no project to export.
TEST(CliProjectFolder, AFailedReadLeavesThePreviousProjectUntouched) {
  const test::TempFolder work;
  const fs::path project = work.path() / "p";
  ASSERT_EQ(runCli({"read", kSample.string(), project.string()}).exitCode, 0);
  const std::string before = runCli({"html", project.string()}).out;
  ASSERT_FALSE(before.empty());

  std::string routines = "Attribute VB_Name = \"Viele\"\r\n";
  for (int i = 0; i < 5000; ++i) routines += "Sub R" + std::to_string(i) + "()\r\nEnd Sub\r\n";
  work.writeFile("viele/Viele.bas", routines);
  const std::uintmax_t templateBytes = fs::file_size(CQ_TEMPLATE_PATH);
  for (const std::uintmax_t limit : {templateBytes / 2, templateBytes + 4096}) {
    const auto failed = runCli({"read", (work.path() / "viele").string(), project.string()}, "/dev/null", limit);
    EXPECT_EQ(failed.exitCode, 1) << limit;
    EXPECT_TRUE(failed.err.rfind("Die ", 0) == 0 && failed.err.ends_with(": Die Datei wird zu gro\xC3\x9F\n") &&
                std::count(failed.err.begin(), failed.err.end(), '\n') == 1)
        << failed.err;
    EXPECT_EQ(failed.err.find('\r'), std::string::npos) << failed.err;
    EXPECT_EQ(failed.err.find(".neu-"), std::string::npos) << "names the new folder beside: " << failed.err;
    EXPECT_EQ(runCli({"html", project.string()}).out, before) << limit;
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(work.path())) entries.push_back(entry.path().filename().string());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"p", "viele"})) << limit;
  }

  const fs::path empty = work.path() / "leer";
  fs::create_directories(empty);
  fs::copy_file(CQ_TEMPLATE_PATH, empty / "CodeQuorix.mdb");
  const auto html = runCli({"html", empty.string()});
  EXPECT_EQ(html.exitCode, 1);
  EXPECT_NE(html.err.find("enth\xC3\xA4lt kein Modul"), std::string::npos) << html.err;
}

// File names with line breaks, tabs, backslashes and bytes that are no UTF-8:
// one node per line, the characters escaped, the names kept for the read.
TEST(CliList, ControlCharactersAreEscapedAndNamesKept) {
  const test::TempFolder work;
  const std::string code = "Sub A()\r\n  x = 1\r\nEnd Sub\r\n";
  for (const char* name : {"Zeile\nUmbruch.bas", "Tab\tName.bas", "Back\\slash.bas", "Latin\xE9 und \xC3\xA4.bas"})
    work.writeFile(fs::path("namen") / name, code);
  const auto list = runCli({"list", (work.path() / "namen").string()});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = list.out.find('\n', at)) != std::string::npos; ++at) ++lines;
  EXPECT_EQ(lines, 5u) << list.out;
  for (const char* shown : {"\nA1\\Zeile\\nUmbruch\tZeile\\nUmbruch\tM2\n", "\tTab\\tName\t",
                            "\nA1\\Back\\\\slash\tBack\\\\slash\t", "\tLatin\xC3\xA9 und \xC3\xA4\t"})
    EXPECT_NE(list.out.find(shown), std::string::npos) << shown << "\n" << list.out;
  const auto read = runCli({"read", (work.path() / "namen").string(), (work.path() / "out").string()});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_NE(read.out.find("Module: 4\n"), std::string::npos) << read.out;
}

// Bad input never crashes: each ends with a correct result or a message and a failure code.
TEST(CliBadInput, DamagedAndHostileSourcesEndCleanly) {
  const test::TempFolder work;
  std::mt19937 random(42);
  std::string garbage(200000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  std::string longLine = "Attribute VB_Name = \"Lang\"\r\nSub Lang()\r\nx = \"";
  while (longLine.size() < 5'000'000) longLine += "a 'b' \"\" Sub If(Then) ";
  longLine += "\"\r\nEnd Sub\r\n";
  std::string manyLines;
  for (int i = 0; i < 200000; ++i) manyLines += i % 3 ? "For i = 1 To 2\r\n" : "x = 1 _\r\n";

  const std::pair<std::string, std::string> cases[] = {
      {"leer/Leer.bas", ""},
      {"binaer/Binaer.bas", garbage},
      {"lang/Lang.bas", longLine},
      {"viele/Viele.bas", std::string("Attribute VB_Name = \"Viele\"\r\n").append(manyLines)},
      {"utf8/Kaputt.bas", "Sub \xC3\x28Kaputt\xFF()\r\n  x = \"\xE2\x82\"\r\nEnd Sub\r\n"},
      {"vbp/Projekt.vbp", "Type=Exe\r\nModule=Fehlt; Fehlt.bas\r\n"},
      {"vbp2/Projekt.vbp", "Type=Exe\r\nModule=Aussen; ..\\lang\\Lang.bas\r\nClass=Weg; ../../../../etc/passwd\r\n"},
  };
  for (const auto& [name, bytes] : cases) {
    const fs::path file = work.path() / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    const std::string source = (file.extension() == ".vbp" ? file : file.parent_path()).string();
    const std::string out = (work.path() / "out-").string() + file.stem().string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", source}, {"read", source, out},
          {"read", source, out + "-einr", "--option", "einr=-1", "--option", "leer=-1"}}) {
      const auto result = runCli(args);
      EXPECT_EQ(result.signal, 0) << name << " " << args[0];
      // list says with 3 that a source could not be read, and lists it with its reason.
      const int failed = args[0] == "list" ? 3 : 1;
      EXPECT_TRUE(result.exitCode == 0 || (result.exitCode == failed && !result.err.empty())) << name << " " << args[0];
    }
  }
  for (const fs::path& input : {work.path() / "binaer/Binaer.bas", work.path() / "lang/Lang.bas",
                                work.path() / "utf8/Kaputt.bas", work.path() / "leer/Leer.bas"}) {
    const auto result = runCli({"markup", "--html"}, input);
    EXPECT_EQ(result.exitCode, 0) << input;
    EXPECT_EQ(result.out.rfind("<pre>", 0), 0u) << input;
  }
}

}  // namespace
}  // namespace cq
