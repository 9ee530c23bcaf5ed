// The settings store: text values under section and key in an INI file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/settings_store.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(SettingsStore, KeepsTextsUnderSectionAndKey) {
  test::TempFolder folder;
  const fs::path ini = folder.path() / "settings.ini";
  {
    SettingsStore store(ini);
    EXPECT_EQ(store.get("optionen", "fkey"), "") << "never written";
    store.save("optionen", "font", "Courier New,12");
    store.save("proj", "proj_pf", "/home/anna/Projekte mit \"Anführung\"\\x/");
    store.save("optionen", "bis", "@max");
    store.save("optionen", "leer", "");
  }
  SettingsStore store(ini);
  EXPECT_EQ(store.get("optionen", "font"), "Courier New,12");
  EXPECT_EQ(store.get("proj", "proj_pf"), "/home/anna/Projekte mit \"Anführung\"\\x/");
  EXPECT_EQ(store.get("optionen", "bis"), "@max");
  EXPECT_EQ(store.get("optionen", "leer"), "");
  EXPECT_EQ(store.get("recent", "font"), "") << "keys belong to their section";
}

TEST(SettingsStore, ReadsHandEditedValuesWithCommas) {
  test::TempFolder folder;
  const fs::path ini = folder.path() / "settings.ini";
  std::ofstream(ini) << "[optionen]\nfont=Arial,12\n";
  EXPECT_EQ(SettingsStore(ini).get("optionen", "font"), "Arial,12");
}

TEST(SettingsStore, GetAllAndDeleteSection) {
  test::TempFolder folder;
  SettingsStore store(folder.path() / "settings.ini");
  EXPECT_TRUE(store.getAll("recent").empty());
  EXPECT_NO_THROW(store.deleteSection("recent")) << "missing section";

  for (const char* key : {"F3", "F0", "F9", "F1"}) store.save("recent", key, std::string("/p/") + key);
  store.save("optionen", "tab", "7");
  EXPECT_EQ(store.getAll("recent"),
            (Pairs{{"F0", "/p/F0"}, {"F1", "/p/F1"}, {"F3", "/p/F3"}, {"F9", "/p/F9"}}));

  store.deleteSection("recent");
  EXPECT_TRUE(store.getAll("recent").empty());
  EXPECT_EQ(store.get("recent", "F0"), "");
  EXPECT_EQ(store.getAll("optionen"), (Pairs{{"tab", "7"}})) << "other sections stay";
  EXPECT_EQ(SettingsStore(folder.path() / "settings.ini").getAll("recent"), Pairs{})
      << "the removal is stored";
}

TEST(SettingsStore, EditionsKeepTheirSettingsApart) {
  const Edition access = *editionForHostCode(3);
  const Edition word = *editionForHostCode(2);
  EXPECT_EQ(settingsApplicationName(access), "Co_Quor_Access");
  EXPECT_EQ(settingsApplicationName(word), "Co_Quor_Word");

  SettingsStore accessStore(access);
  SettingsStore wordStore(word);
  const fs::path configHome = std::getenv("XDG_CONFIG_HOME");
  EXPECT_EQ(accessStore.fileName(), configHome / "ZT_Quorix" / "Co_Quor_Access.ini");
  EXPECT_EQ(wordStore.fileName(), configHome / "ZT_Quorix" / "Co_Quor_Word.ini");

  wordStore.save("optionen", "tab", "9");
  EXPECT_EQ(wordStore.get("optionen", "tab"), "9");
  EXPECT_EQ(accessStore.get("optionen", "tab"), "");
  wordStore.deleteSection("optionen");
}

}  // namespace
}  // namespace cq
