#include "projectfolder/recent_projects.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings_store.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using Folders = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

class RecentProjects : public ::testing::Test {
 protected:
  // A project folder that exists, as the list stores it.
  std::string project(const std::string& name) const {
    const fs::path folder = root_.path() / "Projekte" / name;
    fs::create_directories(folder);
    return (folder / "").string();
  }
  test::TempFolder root_;
  SettingsStore settings_{root_.path() / "settings.ini"};
};

TEST_F(RecentProjects, NewestFirstAndNeverTwice) {
  EXPECT_EQ(loadRecentProjects(settings_), Folders{});
  const std::string a = project("A");
  const std::string b = project("B");
  EXPECT_EQ(addRecentProject(settings_, a), Folders{a});
  EXPECT_EQ(addRecentProject(settings_, b), (Folders{b, a}));
  EXPECT_EQ(addRecentProject(settings_, a), (Folders{a, b})) << "the same folder twice stays once, as F0";
  EXPECT_EQ(settings_.getAll("recent"), (Pairs{{"F0", a}, {"F1", b}}));
  std::string withoutSeparator = b;
  withoutSeparator.pop_back();
  EXPECT_EQ(addRecentProject(settings_, withoutSeparator), (Folders{b, a})) << "stored ending in /";
  EXPECT_EQ(loadRecentProjects(SettingsStore(root_.path() / "settings.ini")), (Folders{b, a}));
  EXPECT_EQ(recentMenuCaption(0, "/home/anna/Projekte/Kunden Daten/"), "&0 - Kunden Daten");
  EXPECT_EQ(recentMenuCaption(9, "/home/anna/Projekte/Kunden") + recentMenuCaption(3, "/"), "&9 - Kunden&3 - ");
}

TEST_F(RecentProjects, KeepsTheNewestTenAndDropsVanishedFolders) {
  Folders opened;
  for (int i = 0; i <= 10; ++i) {
    opened.push_back(project(std::string(1, 'P') += std::to_string(i)));
    addRecentProject(settings_, opened.back());
  }
  const Folders newestTen(opened.rbegin(), opened.rbegin() + 10);
  EXPECT_EQ(loadRecentProjects(settings_), newestTen) << "the eleventh pushed the first out";
  EXPECT_EQ(settings_.get("recent", "F9"), opened[1]);
  fs::remove(opened[5]);
  Folders shown = newestTen;
  std::erase(shown, opened[5]);
  EXPECT_EQ(loadRecentProjects(settings_), shown) << "a deleted folder is not shown";
  EXPECT_EQ(settings_.getAll("recent").size(), 10u) << "but stays stored";
  // Only the first nine earlier entries are considered; the vanished one among
  // them is dropped without letting the tenth move up.
  EXPECT_EQ(addRecentProject(settings_, opened[0]),
            (Folders{opened[0], opened[10], opened[9], opened[8], opened[7], opened[6], opened[4], opened[3],
                     opened[2]}));
  EXPECT_EQ(settings_.get("recent", "F8"), opened[2]);
  EXPECT_EQ(settings_.get("recent", "F9"), "");
}

}  // namespace
}  // namespace cq
