#include "projectfolder/folder_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sources/file_lists.h"
#include "sources/source_file.h"
#include "support/temp_folder.h"
#include "text/failure.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> relativeNames(const std::vector<fs::path>& paths, const fs::path& base) {
  std::vector<std::string> names;
  for (const fs::path& each : paths) names.push_back(each.lexically_relative(base).generic_string());
  return names;
}

TEST(FolderFiles, FolderOperationsWorkOnDirectFilesOnlyAndListsFollowTheFolderOrder) {
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
  EXPECT_THROW(copyFolderFiles(missing, to), Failed);
  try {
    copyFolderFiles(from, temp.path() / "nowhere");
    ADD_FAILURE() << "copying into a missing folder must fail";
  } catch (const Failed& failed) {
    const std::string message = failed.failure().message;
    EXPECT_TRUE(message.starts_with("Die Datei \"" + (from / "").string())) << message;
    EXPECT_TRUE(message.ends_with("nowhere\" kopiert werden.")) << message;
    EXPECT_FALSE(failed.failure().cause.empty()) << "the system's reason";
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

}  // namespace
}  // namespace cq
