#include "projects/path_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> relativeNames(const std::vector<fs::path>& paths, const fs::path& base) {
  std::vector<std::string> names;
  for (const fs::path& each : paths) names.push_back(each.lexically_relative(base).generic_string());
  return names;
}

TEST(PathHelpers, TextPartsFollowTheDocumentedExamples) {
  EXPECT_EQ(textAfterLast("C:\\A\\b.txt", '\\'), "b.txt");
  EXPECT_EQ(textAfterLast("b.txt", '\\'), "");
  EXPECT_EQ(textAfterLast("C:\\A\\", '\\'), "");
  EXPECT_EQ(textAfterLast("aXbxc", 'x'), "c");  // letters match either case

  EXPECT_EQ(textBeforeFirst("A1\\Form1", "\\"), "A1");
  EXPECT_EQ(textBeforeFirst("\\Form1", "\\"), "");
  EXPECT_EQ(textBeforeFirst("abc", "\\"), "abc");
  EXPECT_EQ(textBeforeFirst("oneANDtwo", "and"), "one");

  EXPECT_EQ(fileNameOf("/home/u/Mappe.xlsm"), "Mappe.xlsm");
  EXPECT_EQ(fileNameOf("C:\\A\\b.txt", '\\'), "b.txt");
  EXPECT_EQ(fileNameOf("Mappe.xlsm"), "");

  EXPECT_EQ(withTrailingSeparator(""), "/");
  EXPECT_EQ(withTrailingSeparator("/tmp"), "/tmp/");
  EXPECT_EQ(withTrailingSeparator("/tmp/"), "/tmp/");
  EXPECT_EQ(withTrailingSeparator("C:\\x", '\\'), "C:\\x\\");

  std::string name = "a/b:c?";
  removeForbiddenNameCharacters(name);
  EXPECT_EQ(name, "abc");
  name = "\\*<>|\"x\xC4";
  removeForbiddenNameCharacters(name);
  EXPECT_EQ(name, "x\xC4");
}

TEST(PathHelpers, PathTextIsWindows1252AndConvertsBack) {
  const fs::path umlautPath = fs::path("/tmp/M\xC3\xA4ppchen");  // UTF-8 on disk
  EXPECT_EQ(pathToText(umlautPath), "/tmp/M\xE4ppchen");
  EXPECT_EQ(textToPath("/tmp/M\xE4ppchen"), umlautPath);
}

TEST(PathHelpers, FolderOperationsWorkOnDirectFilesOnly) {
  test::TempFolder temp;
  temp.writeFile("from/a.txt", "A");
  temp.writeFile("from/B.TXT", "B");
  temp.writeFile("from/c.bas", "C");
  temp.writeFile("from/sub/d.txt", "D");
  temp.writeFile("to/a.txt", "old");
  const fs::path from = temp.path() / "from";
  const fs::path to = temp.path() / "to";

  EXPECT_EQ(relativeNames(filesWithExtension(from, "txt"), from), (std::vector<std::string>{"a.txt", "B.TXT"}));
  EXPECT_EQ(filesWithExtension(from, "*").size(), 3u);
  EXPECT_TRUE(filesWithExtension(from, "xls").empty());
  EXPECT_TRUE(filesWithExtension(temp.path() / "missing", "*").empty());

  copyFolderFiles(from, to);
  EXPECT_EQ(relativeNames(filesWithExtension(to, "*"), to),
            (std::vector<std::string>{"a.txt", "B.TXT", "c.bas"}));
  EXPECT_FALSE(fs::exists(to / "sub"));
  std::ifstream copied(to / "a.txt");
  std::string content;
  copied >> content;
  EXPECT_EQ(content, "A");  // overwritten

  EXPECT_THROW(copyFolderFiles(temp.path() / "missing", to), std::runtime_error);
  try {
    copyFolderFiles(from, temp.path() / "nowhere");
    FAIL() << "copying into a missing folder must fail";
  } catch (const std::runtime_error& error) {
    const std::string message = error.what();
    EXPECT_TRUE(message.starts_with("Die Datei \"" + (from / "").string())) << message;
    EXPECT_NE(message.find("nowhere\" kopiert werden."), std::string::npos) << message;
  }

  clearFolder(from);
  EXPECT_TRUE(filesWithExtension(from, "*").empty());
  EXPECT_TRUE(fs::exists(from / "sub" / "d.txt"));
  clearFolder(temp.path() / "missing");  // ignored
}

TEST(PathHelpers, RecursiveListFollowsTheFolderListOrder) {
  test::TempFolder temp;
  // The folder list holds all direct subfolders of a folder before any of theirs.
  for (const char* file : {"r.bas", "A/a.bas", "A/A1/a1.bas", "A/A1/x/deep.bas", "A/A2/a2.bas", "b/b.BAS",
                           "b/B1/b1.bas", "b/B1/note.txt"}) {
    temp.writeFile(file, "x");
  }
  const fs::path root = temp.path();
  EXPECT_EQ(relativeNames(folderTree(root), root),
            (std::vector<std::string>{".", "A", "b", "A/A1", "A/A2", "A/A1/x", "b/B1"}));
  EXPECT_EQ(relativeNames(filesWithExtensionRecursive(root, "bas"), root),
            (std::vector<std::string>{"r.bas", "A/a.bas", "b/b.BAS", "A/A1/a1.bas", "A/A2/a2.bas",
                                      "A/A1/x/deep.bas", "b/B1/b1.bas"}));
  EXPECT_TRUE(filesWithExtensionRecursive(root, "cls").empty());

  fs::create_directory_symlink(root, root / "b" / "loop");  // must not be followed
  EXPECT_EQ(folderTree(root).size(), 7u);
}

TEST(PathHelpers, FileFilterTranslation) {
  const FileFilter rtf = translateFileFilter("RTF-Dokument:RTF;");
  ASSERT_TRUE(rtf.ok());
  ASSERT_EQ(rtf.entries.size(), 1u);
  EXPECT_EQ(rtf.entries[0].description, "RTF-Dokument (*.rtf)");
  EXPECT_EQ(rtf.entries[0].patterns, "*.RTF");
  EXPECT_EQ(qtFileFilter(rtf), "RTF-Dokument (*.RTF)");

  const FileFilter several = translateFileFilter("Code:bas,cls;Alles:;:txt;");
  ASSERT_TRUE(several.ok());
  ASSERT_EQ(several.entries.size(), 3u);
  EXPECT_EQ(several.entries[0].description, "Code (*.bas, *.cls)");
  EXPECT_EQ(several.entries[0].patterns, "*.bas; *.cls");
  EXPECT_EQ(several.entries[1].description, "Alles (*.*)");
  EXPECT_EQ(several.entries[1].patterns, "*.*");
  EXPECT_EQ(several.entries[2].description, " (*.txt)");
  EXPECT_EQ(qtFileFilter(several), "Code (*.bas *.cls);;Alles (*);; (*.txt)");

  const FileFilter unterminated = translateFileFilter("RTF-Dokument:RTF");
  EXPECT_EQ(unterminated.error, "Bitte Filterart mit ; abschlie\xDF" "en");
  EXPECT_TRUE(unterminated.entries.empty());
  EXPECT_EQ(qtFileFilter(unterminated), "");
  EXPECT_EQ(translateFileFilter("").error, "Bitte Filterart mit ; abschlie\xDF" "en");

  EXPECT_EQ(translateFileFilter("RTF;").error, "Doppelpunkt vergessen");
  const FileFilter laterEntryBroken = translateFileFilter("VB:vbp;RTF;");
  EXPECT_EQ(laterEntryBroken.error, "Doppelpunkt vergessen");
  EXPECT_TRUE(laterEntryBroken.entries.empty());
}

}  // namespace
}  // namespace cq
