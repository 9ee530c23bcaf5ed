#include "projectfolder/working_folders.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// Everything below `folder`; nothing for a missing folder.
std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.insert(it->path().lexically_relative(folder).generic_string());
  }
  return names;
}

fs::path lockFileOf(const fs::path& instanceFolder) {
  return instanceFolder.parent_path().parent_path() / (instanceFolder.parent_path().filename().string() + ".lock");
}

// An instance in a process of its own: it makes its folder with a module file (after cleaning up
// the temporary folder as a starting instance does, if asked), then ends at once without removing
// anything, as a crash would, or runs until finish().
class OtherProcessInstance {
 public:
  OtherProcessInstance(const fs::path& temporary, bool cleansUpFirst, bool crashAtOnce) {
    int toParent[2], toChild[2];
    if (pipe(toParent) != 0 || pipe(toChild) != 0 || (pid_ = fork()) < 0) throw std::runtime_error("pipe or fork");
    if (pid_ == 0) {
      close(toChild[1]);
      try {
        if (cleansUpFirst) cleanUpTemporaryFolder(temporary);
        InstanceFolder instance = InstanceFolder::create(temporary).value();
        writeFile(instance.path() / "M1.txt", "Sub Andere()");
        const std::string path = instance.path().string() + "\n";
        if (write(toParent[1], path.data(), path.size()) != static_cast<ssize_t>(path.size()) || crashAtOnce) _exit(0);
        for (char ignored; read(toChild[0], &ignored, 1) > 0;) {
        }
        instance.remove();
      } catch (...) {
      }
      _exit(0);  // an instance that could not start sends no path, which fails the test
    }
    close(toParent[1]);
    close(toChild[0]);
    finishWrite_ = toChild[1];
    std::string path;
    for (char c; read(toParent[0], &c, 1) == 1 && c != '\n';) path += c;
    close(toParent[0]);
    folder_ = path;
    if (crashAtOnce || path.empty()) finish();  // a crashed instance's destructor never ran: folder and lock stay
    if (path.empty()) throw std::runtime_error("the other instance did not start");
  }
  ~OtherProcessInstance() { finish(); }
  const fs::path& folder() const { return folder_; }
  void finish() {
    if (pid_ <= 0) return;
    close(finishWrite_);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int finishWrite_ = -1;
  fs::path folder_;
};

TEST(InstanceFolder, IsFreshLockedAndGoesAtExitOrReportsWhyItCannotBeCreated) {
  test::TempFolder root;
  const fs::path temporary = root.path() / "TempDateien/";
  fs::create_directories(temporary);
  InstanceFolder first = InstanceFolder::create(temporary).value();
  InstanceFolder second = InstanceFolder::create(temporary).value();
  EXPECT_NE(first.path(), second.path());
  for (const InstanceFolder* instance : {&first, &second}) {
    const std::string name = instance->path().parent_path().filename().string();
    EXPECT_TRUE(instance->path().string().ends_with("/") && std::regex_match(name, std::regex("T_[0-9]+"))) << name;
    EXPECT_TRUE(fs::is_empty(instance->path()) && fs::exists(lockFileOf(instance->path())));
  }
  writeFile(first.path() / "CodeQuorix.mdb", "db");
  writeFile(first.path() / "M1.txt", "Sub A()");
  const fs::path firstPath = first.path(), secondPath = second.path();
  first.remove();
  EXPECT_NO_THROW(first.remove()) << "a second call does nothing";
  { const InstanceFolder moved = std::move(second); }  // an instance that ends early leaves nothing
  for (const fs::path& gone : {firstPath, secondPath}) {
    EXPECT_FALSE(fs::exists(gone) || fs::exists(lockFileOf(gone))) << gone;
  }
  EXPECT_EQ(namesIn(temporary), std::set<std::string>{});
  const auto whyNot = [](const fs::path& folder) {
    const Outcome<InstanceFolder> created = InstanceFolder::create(folder);
    return created ? std::string("(created)") : created.failure().text();
  };
  EXPECT_EQ(whyNot(root.path() / "fehlt/TempDateien/"), "Datei oder Ordner nicht gefunden");
  EXPECT_EQ(whyNot(root.writeFile("TempDateien2", "Datei")), "Ist kein Ordner");
  if (geteuid() == 0) return;  // permissions do not bind the superuser
  fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(whyNot(temporary), "Zugriff verweigert");
  fs::permissions(temporary, fs::perms::owner_all);
}

TEST(WorkingFolders, TwoInstancesNeverCleanUpEachOther) {
  test::TempFolder root;
  const fs::path temporary = root.path() / "TempDateien/";
  fs::create_directories(temporary);
  const fs::path project = root.path() / "Projekte/Kunden/";
  for (const char* file : {"CodeQuorix.mdb", "M1.txt"}) writeFile(project / file, "x");
  // Leftovers: an instance that crashed with module files, and an older folder without any lock.
  const OtherProcessInstance crashed(temporary, false, true);
  writeFile(crashed.folder() / "M2.txt", "Sub B()");
  writeFile(temporary / "T_77/M1.txt", "Sub Alt()");
  ASSERT_TRUE(fs::exists(lockFileOf(crashed.folder())));
  EXPECT_FALSE(anotherInstanceRuns(temporary)) << "the lock of an ended process is stale";
  EXPECT_FALSE(fs::exists(lockFileOf(crashed.folder()))) << "and is taken away";
  InstanceFolder mine = InstanceFolder::create(temporary).value();
  writeFile(mine.path() / "M1.txt", "Sub Meins()");
  // The other instance cleans up at its start, while this one runs.
  OtherProcessInstance other(temporary, true, false);
  EXPECT_FALSE(fs::exists(crashed.folder()) || fs::exists(temporary / "T_77"));
  EXPECT_TRUE(anotherInstanceRuns(temporary));
  writeFile(temporary / "T_78/M1.txt", "Sub Alt()");
  cleanUpTemporaryFolder(temporary);  // and this one cleans up while the other runs
  for (const fs::path& live : {mine.path(), other.folder()}) {
    EXPECT_EQ(namesIn(live), std::set<std::string>{"M1.txt"});
    EXPECT_TRUE(fs::exists(lockFileOf(live)));
  }
  EXPECT_FALSE(fs::exists(temporary / "T_78"));
  other.finish();
  EXPECT_FALSE(fs::exists(other.folder())) << "removed at the other instance's exit";
  EXPECT_TRUE(anotherInstanceRuns(temporary)) << "this process's own instance counts";
  mine.remove();
  EXPECT_FALSE(anotherInstanceRuns(temporary));
  EXPECT_TRUE(fs::is_directory(temporary)) << "the temporary folder itself stays";
  EXPECT_EQ(namesIn(project), (std::set<std::string>{"CodeQuorix.mdb", "M1.txt"}));
}

TEST(WorkingFolders, CleanUpStopsAtTheFirstFolderItCannotRemoveAndTemporaryFilesAreThoseBelowIt) {
  test::TempFolder root;
  const fs::path temporary = root.path() / "TempDateien";
  for (const char* file : {"T_1/Unterordner/M1.txt", "T_2/M1.txt", "TempCodeQuor.htm"}) {
    writeFile(temporary / file, "x");
  }
  cleanUpTemporaryFolder(temporary);
  // Parents come before their subfolders, so T_1 is still full when its turn comes.
  EXPECT_EQ(namesIn(temporary), (std::set<std::string>{"T_1", "T_1/Unterordner", "T_2"}));
  for (const char* folder : {"TempDateien/T_5/", "Projekte/Alt/", "tempdateien/Alt/"}) {
    for (const char* file : {"CodeQuorix.mdb", "M1.txt", "Sub/M1.txt"}) writeFile(root.path() / folder / file, "x");
    deleteTemporaryFiles(root.path() / folder);
    const std::set<std::string> kept = folder[0] == 'T'  // folders stay
                                           ? std::set<std::string>{"Sub"}
                                           : std::set<std::string>{"CodeQuorix.mdb", "M1.txt", "Sub", "Sub/M1.txt"};
    EXPECT_EQ(namesIn(root.path() / folder), kept) << folder;
  }
}

}  // namespace
}  // namespace cq
