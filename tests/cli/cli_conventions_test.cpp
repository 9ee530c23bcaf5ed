// What scripts rely on beyond the commands themselves: --help and --version,
// the JSON documents of list, search and unused (escaping included), and
// several reads running at once.
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "support/golden.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::runCli;

const fs::path kSample = fs::path(CQ_SOURCE_DIR) / "samples" / "Lagerverwaltung";

// The read's report without its time, which differs from run to run.
std::string withoutSeconds(const std::string& report) { return report.substr(0, report.find("Sekunden:")); }

TEST(CliConventions, HelpAndVersionWinOverEverythingAndExitWithZero) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, {"-h"}, {"search", "--help"}, {"frobnicate", "-h", "x"}}) {
    const auto help = runCli(args);
    EXPECT_EQ(help.exitCode, 0) << args[0];
    EXPECT_TRUE(help.err.empty());
    // Every command with its arguments, in UTF-8.
    for (const char* line : {"codequorix-cli list QUELLE... [--json]\n",
                             "codequorix-cli search PROJEKTORDNER TEXT [--word] [--module N] [--json]\n",
                             "codequorix-cli unused PROJEKTORDNER [--json]\n", "codequorix-cli --version\n",
                             "--option SCHL\xC3\x9CSSEL=WERT", "-o DATEI:",
                             "R\xC3\xBC" "ckgabewerte: 0 erledigt, 1 Fehler"})
      EXPECT_NE(help.out.find(line), std::string::npos) << line;
  }
  const auto version = runCli({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("codequorix-cli 1.0\nDatenbankvorlage: ", 0), 0u) << version.out;
  EXPECT_NE(version.out.find("mask_CodeQuorix.mdb\n"), std::string::npos) << version.out;
  EXPECT_EQ(runCli({"read", kSample.string(), "--json"}).exitCode, 2) << "--json only where it is described";
}

TEST(CliConventions, JsonDocumentsOfListSearchAndUnused) {
  const test::TempFolder work;
  const auto list = runCli({"list", kSample.string(), "--json"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_TRUE(test::matchesGolden("sample_list.json", list.out));

  const std::string project = (work.path() / "Lager").string();
  ASSERT_EQ(runCli({"read", kSample.string(), project}).exitCode, 0);
  const auto search = runCli({"search", project, "Bestand", "--module", "3", "--json"});
  ASSERT_EQ(search.exitCode, 0) << search.err;
  EXPECT_EQ(search.out.rfind("[\n  {\"module\": \"M3\", \"line\": ", 0), 0u) << search.out;
  EXPECT_NE(search.out.find("\"routine\": null}"), std::string::npos) << "a hit outside every routine";
  EXPECT_EQ(search.out.substr(search.out.size() - 4), "}\n]\n");
  EXPECT_EQ(runCli({"search", project, "gibtesnirgends", "--json"}).out, "[]\n");
  EXPECT_EQ(runCli({"search", project, "   ", "--json"}).out, "[]\n");
  const auto unused = runCli({"unused", project, "--json"});
  ASSERT_EQ(unused.exitCode, 0) << unused.err;
  EXPECT_NE(unused.out.find("{\"group\": \"host\", \"module\": \"M"), std::string::npos) << unused.out;
  EXPECT_NE(unused.out.find(", \"caller\": \"Formularereignis\"}"), std::string::npos) << "who calls a host row";

  // Names with quotes, backslashes, control characters and Windows-1252 letters
  // stay one valid string each: the folder names the project, the attribute the module.
  work.writeFile("Mo\"d\\\x01/a.bas", "Attribute VB_Name = \"Modul\x7F\xE4\x80\"\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\n");
  const auto escaped = runCli({"list", (work.path() / "Mo\"d\\\x01").string(), "--json"});
  ASSERT_EQ(escaped.exitCode, 0) << escaped.err;
  EXPECT_NE(escaped.out.find("Mo\\\"d\\\\\\u0001"), std::string::npos) << escaped.out;
  EXPECT_NE(escaped.out.find("\"Modul\\u007f\xC3\xA4\xE2\x82\xAC\""), std::string::npos) << escaped.out;
}

// Reads from scripts run side by side: each into its own project folder, all
// done, all with the same modules.
TEST(CliConventions, SeveralReadsAtOnceDoNotInterfere) {
  const test::TempFolder work;
  constexpr int kReads = 6;
  const auto folderOf = [&](int i) { return work.path() / std::string("p").append(std::to_string(i)); };
  std::vector<std::future<test::ProcessResult>> reads;
  for (int i = 0; i < kReads; ++i) {
    const std::string folder = folderOf(i).string();
    reads.push_back(std::async(std::launch::async, [folder] { return runCli({"read", kSample.string(), folder}); }));
  }
  std::vector<test::ProcessResult> results;
  for (auto& read : reads) results.push_back(read.get());
  for (int i = 0; i < kReads; ++i) {
    ASSERT_EQ(results[i].exitCode, 0) << results[i].err;
    EXPECT_EQ(withoutSeconds(results[i].out), withoutSeconds(results[0].out));
    for (const char* module : {"M1.txt", "M2.txt", "M3.txt", "M4.txt"})
      EXPECT_EQ(test::fileBytes(folderOf(i) / module), test::fileBytes(folderOf(0) / module)) << i << module;
    const auto search = runCli({"search", folderOf(i).string(), "Bestand"});
    EXPECT_FALSE(search.out.empty());
  }
}

}  // namespace
}  // namespace cq
