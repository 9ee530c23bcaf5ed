// textconv and diff as git and users run them: a generated workbook in two
// versions, a real git repository with the textconv set-up, the code pages of
// other languages, project folders and the corpus against its own export.
#include <gtest/gtest.h>

#include "support/code_page_projects.h"
#include "support/corpus.h"
#include "support/office_file_writer.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/vba_project_writer.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::runCli;

constexpr const char* kDocumentBase = "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\r\n";

// Version 1: Modul1, Alt, DieseArbeitsmappe, Klasse1. Version 2: a line of
// Wert changed, Alt renamed Neu, Modul2 added.
test::VbaProjectPlan workbookPlan(int version) {
  test::VbaProjectPlan plan;
  plan.name = "Mappe";
  const std::string value = version == 1 ? "1" : "2";
  plan.modules = {
      {"Modul1", "", 1,
       "Option Explicit\r\n\r\nSub Rechne()\r\n  x = 1\r\nEnd Sub\r\n\r\nFunction Wert() As Long\r\n  Wert = " + value +
           "\r\nEnd Function\r\n"},
      {version == 1 ? "Alt" : "Neu", "", 1, "Sub Hilfe()\r\n  Debug.Print \"Hilfe\"\r\nEnd Sub\r\n"},
      {"DieseArbeitsmappe", "", 100, std::string(kDocumentBase) + "Private Sub Workbook_Open()\r\nEnd Sub\r\n"},
      {"Klasse1", "", 2, "Attribute VB_Exposed = False\r\nPublic Wert As Long\r\n"},
  };
  if (version == 2) plan.modules.push_back({"Modul2", "", 1, "Sub Zusatz()\r\nEnd Sub\r\n"});
  return plan;
}

fs::path writeWorkbook(const test::TempFolder& folder, const std::string& name, const test::VbaProjectPlan& plan) {
  return folder.writeFile(name, test::macroWorkbookBytes(test::buildVbaProjectStreams(plan)));
}

TEST(CliTextconv, WritesEveryModuleByNameDeterministicallyAndRefusesWhatCannotBeShown) {
  const test::TempFolder work;
  const fs::path workbook = writeWorkbook(work, "Mappe.xlsm", workbookPlan(1));
  const auto result = runCli({"textconv", workbook.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "' ===== Alt (Standardmodul) =====\nAttribute VB_Name = \"Alt\"\nSub Hilfe()\n  Debug.Print \"Hilfe\"\n"
            "End Sub\n\n"
            "' ===== DieseArbeitsmappe (Dokumentmodul) =====\nAttribute VB_Name = \"DieseArbeitsmappe\"\n"
            "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\nPrivate Sub Workbook_Open()\nEnd Sub\n\n"
            "' ===== Klasse1 (Klassenmodul) =====\nAttribute VB_Name = \"Klasse1\"\nAttribute VB_Exposed = False\n"
            "Public Wert As Long\n\n"
            "' ===== Modul1 (Standardmodul) =====\nAttribute VB_Name = \"Modul1\"\nOption Explicit\n\nSub Rechne()\n"
            "  x = 1\nEnd Sub\n\nFunction Wert() As Long\n  Wert = 1\nEnd Function\n");
  // The same bytes again, and under another name (git hands over temporary copies).
  EXPECT_EQ(runCli({"textconv", workbook.string()}).out, result.out);
  const fs::path copy = work.path() / "kopie" / "XYZ123_Mappe.xlsm";
  fs::create_directories(copy.parent_path());
  fs::copy_file(workbook, copy);
  EXPECT_EQ(runCli({"textconv", copy.string()}).out, result.out);

  test::VbaProjectPlan locked = workbookPlan(1);
  locked.locked = true;
  const std::vector<std::pair<fs::path, std::string>> refused = {
      {work.writeFile("Geheim.xlsm", test::compoundFileBytes({{"EncryptionInfo", std::string(200, 'i')},
                                                               {"EncryptedPackage", std::string(9, 'p')}})),
       " ist verschlüsselt"},
      {work.writeFile("Kaputt.xlsm", test::zipPackageBytes({{"[Content_Types].xml",
                                                             test::contentTypesXml("/xl/vbaProject.bin")},
                                                            {"xl/vbaProject.bin", "kein OLE2"}})),
       " ist beschädigt"},
      {writeWorkbook(work, "Gesperrt.xlsm", locked), " ist für die Anzeige gesperrt"},
      {work.path() / "Fehlt.xlsm", " wurde nicht gefunden"},
  };
  for (const auto& [document, reason] : refused) {
    const auto refusal = runCli({"textconv", document.string()});
    EXPECT_EQ(refusal.exitCode, 1) << document;
    EXPECT_TRUE(refusal.out.empty()) << document;
    EXPECT_NE(refusal.err.find(reason), std::string::npos) << refusal.err;
  }
}

TEST(CliTextconv, GitDiffAndLogShowTheChangedCodeOfAWorkbook) {
  const test::TempFolder work;
  const fs::path versionOne = writeWorkbook(work, "v1.xlsm", workbookPlan(1));
  const fs::path versionTwo = writeWorkbook(work, "v2.xlsm", workbookPlan(2));
  const fs::path repository = work.path() / "repo";
  fs::create_directories(repository);
  // The set-up the manual describes, in a repository of its own that no
  // configuration of the user reaches.
  const std::string script = "set -e\nexport HOME=\"$1\" GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL=/dev/null\n"
                             "cd \"$1\"\ngit init -q .\ngit config user.name Test\n"
                             "git config user.email test@example.invalid\n"
                             "git config diff.vba.textconv \"$2 textconv --no-settings\"\n"
                             "echo '*.xlsm diff=vba' > .gitattributes\n"
                             "cp \"$3\" Mappe.xlsm\ngit add .\ngit commit -q -m eins\n"
                             "cp \"$4\" Mappe.xlsm\ngit commit -q -a -m zwei\n"
                             "echo '== diff'\ngit diff HEAD~1 HEAD\necho '== log'\ngit log -p --format=%s -- Mappe.xlsm\n";
  const auto git = test::runProcess("/bin/sh", {"-c", script, "sh", repository.string(), CQ_CLI_PATH, versionOne.string(),
                                           versionTwo.string()});
  ASSERT_EQ(git.exitCode, 0) << git.err;
  const std::size_t logAt = git.out.find("== log\n");
  ASSERT_NE(logAt, std::string::npos) << git.out;
  const std::string diff = git.out.substr(0, logAt);
  const std::string log = git.out.substr(logAt);
  for (const char* line : {"diff --git a/Mappe.xlsm b/Mappe.xlsm", "\n-' ===== Alt (Standardmodul) =====\n",
                           "\n-Attribute VB_Name = \"Alt\"\n",
                           "\n Function Wert() As Long\n-  Wert = 1\n+  Wert = 2\n",
                           "\n+' ===== Modul2 (Standardmodul) =====\n", "\n+Sub Zusatz()\n",
                           "\n+' ===== Neu (Standardmodul) =====\n", "\n+Attribute VB_Name = \"Neu\"\n"}) {
    EXPECT_NE(diff.find(line), std::string::npos) << line << "\n" << diff;
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  }
  EXPECT_EQ(diff.find("Binary"), std::string::npos) << diff;
  EXPECT_EQ(diff.find("\n-Sub Rechne()\n"), std::string::npos) << "unchanged code stays as it is";
  // The first commit adds every module's code.
  EXPECT_NE(log.find("\neins\n"), std::string::npos);
  EXPECT_NE(log.find("\n+' ===== Alt (Standardmodul) =====\n+Attribute VB_Name = \"Alt\"\n+Sub Hilfe()\n"),
            std::string::npos)
      << log;
}

TEST(CliDiff, ReportsModulesAndRoutinesInTextAndJsonWithDiffsExitCodes) {
  const test::TempFolder work;
  const fs::path older = writeWorkbook(work, "v1.xlsm", workbookPlan(1));
  const fs::path newer = writeWorkbook(work, "v2.xlsm", workbookPlan(2));
  const auto text = runCli({"diff", older.string(), newer.string()});
  EXPECT_EQ(text.exitCode, 1) << text.err;
  EXPECT_EQ(text.out,
            "Modul geändert: Modul1 (Standardmodul)\n"
            "Routine geändert: Function Wert\n--- Modul1: Function Wert\n+++ Modul1: Function Wert\n"
            "@@ -7,3 +7,3 @@\n Function Wert() As Long\n-  Wert = 1\n+  Wert = 2\n End Function\n"
            "Modul umbenannt: Alt -> Neu (Standardmodul)\n"
            "Modul hinzugefügt: Modul2 (Standardmodul)\n");
  const auto json = runCli({"diff", older.string(), newer.string(), "--json"});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_NE(json.out.find("{\"equal\": false, \"modules\": [\n  {\"change\": \"changed\", \"oldName\": \"Modul1\", "
                          "\"newName\": \"Modul1\", \"type\": \"Standardmodul\", \"oldType\": \"Standardmodul\", "
                          "\"whitespaceOnly\": false, \"routines\": [\n    {\"change\": \"changed\", \"routine\": "
                          "\"Function Wert\", \"whitespaceOnly\": false, \"diff\": \"@@ -7,3 +7,3 @@\\n Function"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("{\"change\": \"added\", \"oldName\": null, \"newName\": \"Modul2\""), std::string::npos);
  EXPECT_NE(json.out.find("{\"change\": \"added\", \"routine\": \"Sub Zusatz\", \"whitespaceOnly\": false, \"diff\": null}"),
            std::string::npos);

  // A document, its exported folder and its project folder hold the same code.
  const fs::path exported = work.path() / "export";
  const fs::path projectFolder = work.path() / "projekt";
  ASSERT_EQ(runCli({"export", newer.string(), exported.string()}).exitCode, 0);
  ASSERT_EQ(runCli({"read", newer.string(), projectFolder.string()}).exitCode, 0);
  for (const auto& [left, right] : std::vector<std::pair<fs::path, fs::path>>{
           {newer, exported}, {exported, newer}, {newer, projectFolder}, {projectFolder, exported}}) {
    const auto same = runCli({"diff", left.string(), right.string()});
    EXPECT_EQ(same.exitCode, 0) << left << " " << right << "\n" << same.out << same.err;
    EXPECT_EQ(runCli({"diff", left.string(), right.string(), "--json"}).out, "{\"equal\": true, \"modules\": []}\n");
  }
  // Blanks only, in a module file edited by hand.
  const fs::path edited = exported / "Modul1.bas";
  std::string bytes = test::fileBytes(edited);
  bytes.replace(bytes.find("  x = 1"), 7, "    x  =  1");
  work.writeFile("export/Modul1.bas", bytes);
  const auto blanks = runCli({"diff", newer.string(), exported.string()});
  EXPECT_EQ(blanks.exitCode, 1);
  EXPECT_NE(blanks.out.find("Modul geändert (nur Leerraum): Modul1 (Standardmodul)\n"
                            "Routine geändert (nur Leerraum): Sub Rechne\n"),
            std::string::npos)
      << blanks.out;

  const auto missing = runCli({"diff", older.string(), (work.path() / "fehlt.xlsm").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("wurde nicht gefunden"), std::string::npos);
  EXPECT_EQ(runCli({"diff", older.string()}).exitCode, 2);
}

TEST(CliDiff, ComparesProjectsOfOtherCodePagesByTheirOwnNames) {
  for (const test::CodePageProject& project : test::codePageProjects()) {
    const test::TempFolder work;
    const fs::path workbook = test::writeCodePageWorkbook(project, work);
    const fs::path exported = work.path() / "export";
    ASSERT_EQ(runCli({"export", workbook.string(), exported.string()}).exitCode, 0) << project.label;
    EXPECT_EQ(runCli({"diff", workbook.string(), exported.string()}).exitCode, 0) << project.label;
    // The caller loses its last line in the newer version.
    test::VbaProjectPlan changed = test::codePagePlan(project);
    for (test::VbaModulePlan& module : changed.modules) {
      if (module.kind != 1) continue;
      const std::size_t end = module.code.rfind("End Sub\r\n\r\nPrivate Sub");
      const std::size_t lineStart = module.code.rfind("\r\n", end - 3) + 2;
      module.code.erase(lineStart, end - lineStart);
    }
    const fs::path newer = writeWorkbook(work, "neu.xlsm", changed);
    const auto result = runCli({"diff", workbook.string(), newer.string()});
    EXPECT_EQ(result.exitCode, 1) << project.label << result.err;
    EXPECT_NE(result.out.find("Modul geändert: " + project.standardModule + " (Standardmodul)\nRoutine geändert: Sub " +
                              project.caller + "\n"),
              std::string::npos)
        << project.label << "\n" << result.out;
  }
}

TEST(CliDiff, CorpusDocumentsEqualTheirOwnExport) {
  CQ_SKIP_WITHOUT_CORPUS();
  for (const fs::path& document : test::corpusFiles({".xlsm", ".xlam", ".xls", ".docm", ".doc", ".accda", ".bin"})) {
    const test::TempFolder work;
    const fs::path exported = work.path() / "export";
    const auto exportRun = runCli({"export", document.string(), exported.string()});
    if (exportRun.exitCode != 0) continue;  // no readable project
    // Module files carry no code page: the one the export names is given, as
    // a user would give it for a code page that detection cannot tell.
    const std::size_t open = exportRun.out.find(" (", exportRun.out.find("Zeichensatz: "));
    const std::string codePage = exportRun.out.substr(open + 2, exportRun.out.find(')', open) - open - 2);
    const auto result = runCli({"diff", document.string(), exported.string(), "--encoding", codePage});
    EXPECT_EQ(result.exitCode, 0) << document << "\n" << result.out.substr(0, 2000) << result.err;
  }
}

}  // namespace
}  // namespace cq
