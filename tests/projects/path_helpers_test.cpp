#include "projects/path_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "projects/source_file.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> relativeNames(const std::vector<fs::path>& paths, const fs::path& base) {
  std::vector<std::string> names;
  for (const fs::path& each : paths) names.push_back(each.lexically_relative(base).generic_string());
  return names;
}

TEST(PathHelpers, TextPartsAndPathText) {
  EXPECT_EQ(textAfterLast("C:\\A\\b.txt", '\\') + textAfterLast("b.txt", '\\') + textAfterLast("C:\\", '\\'), "b.txt");
  EXPECT_EQ(textAfterLast("aXbxc", 'x'), "c");  // letters match either case
  EXPECT_EQ(textBeforeFirst("\\Form1", "\\") + "|" + textBeforeFirst("abc", "\\"), "|abc");
  EXPECT_EQ(textBeforeFirst("oneANDtwo", "and"), "one");
  EXPECT_EQ(fileNameOf("C:\\A\\b.txt", '\\') + "|" + fileNameOf("Mappe.xlsm"), "b.txt|");
  EXPECT_EQ(withTrailingSeparator("") + withTrailingSeparator("/tmp") + withTrailingSeparator("/x/"), "//tmp//x/");
  std::string name = "a/b:c?\\*<>|\"x\xC4";
  removeForbiddenNameCharacters(name);
  EXPECT_EQ(name, "abcx\xC4");
  const fs::path umlautPath = fs::path("/tmp/M\xC3\xA4ppchen");  // UTF-8 on disk, Windows-1252 as text
  EXPECT_EQ(pathToText(umlautPath), "/tmp/M\xE4ppchen");
  EXPECT_EQ(textToPath("/tmp/M\xE4ppchen"), umlautPath);
}

TEST(PathHelpers, FolderOperationsWorkOnDirectFilesOnlyAndListsFollowTheFolderOrder) {
  test::TempFolder temp;
  for (const char* file : {"from/a.txt", "from/B.TXT", "from/c.bas", "from/sub/d.txt", "to/a.txt"}) {
    temp.writeFile(file, file[0] == 'f' ? "new" : "old");
  }
  const fs::path from = temp.path() / "from", to = temp.path() / "to", missing = temp.path() / "missing";
  EXPECT_EQ(relativeNames(filesWithExtension(from, "txt"), from), (std::vector<std::string>{"a.txt", "B.TXT"}));
  EXPECT_TRUE(filesWithExtension(from, "xls").empty());
  EXPECT_TRUE(filesWithExtension(missing, "*").empty());
  copyFolderFiles(from, to);
  EXPECT_EQ(relativeNames(filesWithExtension(to, "*"), to), (std::vector<std::string>{"a.txt", "B.TXT", "c.bas"}));
  EXPECT_FALSE(fs::exists(to / "sub"));
  EXPECT_EQ(readSourceFile(to / "a.txt"), "new");  // overwritten
  EXPECT_THROW(copyFolderFiles(missing, to), std::runtime_error);
  try {
    copyFolderFiles(from, temp.path() / "nowhere");
    ADD_FAILURE() << "copying into a missing folder must fail";
  } catch (const std::runtime_error& error) {
    const std::string message = error.what();
    EXPECT_TRUE(message.starts_with("Die Datei \"" + (from / "").string())) << message;
    EXPECT_NE(message.find("nowhere\" kopiert werden."), std::string::npos) << message;
  }
  clearFolder(from);
  EXPECT_TRUE(filesWithExtension(from, "*").empty());
  EXPECT_TRUE(fs::exists(from / "sub" / "d.txt"));
  clearFolder(missing);  // ignored
  // The folder list holds all direct subfolders of a folder before any of theirs; links are not followed.
  const fs::path root = temp.path() / "tree";
  for (const char* file :
       {"r.bas", "A/a.bas", "A/A1/a1.bas", "A/A1/x/deep.bas", "A/A2/a2.bas", "b/b.BAS", "b/B1/b1.bas", "b/B1/x.txt"}) {
    temp.writeFile(root / file, "x");
  }
  fs::create_directory_symlink(root, root / "b" / "loop");
  EXPECT_EQ(relativeNames(folderTree(root), root),
            (std::vector<std::string>{".", "A", "b", "A/A1", "A/A2", "A/A1/x", "b/B1"}));
  EXPECT_EQ(relativeNames(filesWithExtensionRecursive(root, "bas"), root),
            (std::vector<std::string>{"r.bas", "A/a.bas", "b/b.BAS", "A/A1/a1.bas", "A/A2/a2.bas", "A/A1/x/deep.bas",
                                      "b/B1/b1.bas"}));
}

TEST(PathHelpers, FileFilterTranslation) {
  const FileFilter several = translateFileFilter("Code:bas,cls;Alles:;:txt;RTF-Dokument:RTF;");
  ASSERT_TRUE(several.ok());
  std::string entries;
  for (const FileFilterEntry& entry : several.entries) entries += entry.description + " = " + entry.patterns + "|";
  EXPECT_EQ(entries,
            "Code (*.bas, *.cls) = *.bas; *.cls|Alles (*.*) = *.*| (*.txt) = *.txt|RTF-Dokument (*.rtf) = *.RTF|");
  EXPECT_EQ(qtFileFilter(several), "Code (*.bas *.cls);;Alles (*);; (*.txt);;RTF-Dokument (*.RTF)");
  for (const auto& [text, error] : {std::pair{"RTF-Dokument:RTF", "Bitte Filterart mit ; abschlie\xDF" "en"},
                                    {"", "Bitte Filterart mit ; abschlie\xDF" "en"},
                                    {"VB:vbp;RTF;", "Doppelpunkt vergessen"}}) {
    const FileFilter broken = translateFileFilter(text);
    EXPECT_EQ(broken.error, error) << text;
    EXPECT_TRUE(broken.entries.empty());
    EXPECT_EQ(qtFileFilter(broken), "");
  }
}

}  // namespace
}  // namespace cq
