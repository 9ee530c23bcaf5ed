// The edition table and the start values of the process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "codedb/code_database.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

TEST(Edition, TableOfHostCodes) {
  const std::pair<int, std::pair<std::string_view, std::string_view>> table[] = {
      {1, {"Excel", "EQX"}},      {2, {"Word", "WQX"}},         {3, {"Access", "AQX"}},
      {4, {"PowerPoint", "PPQX"}}, {9, {"VisualBasic", "VB"}},
  };
  for (const auto& [code, names] : table) {
    const auto edition = editionForHostCode(code);
    ASSERT_TRUE(edition) << code;
    EXPECT_EQ(edition->hostCode, code);
    EXPECT_EQ(edition->name, names.first);
    EXPECT_EQ(edition->abbreviation, names.second);
  }
  EXPECT_FALSE(editionForHostCode(5));
  EXPECT_FALSE(editionForHostCode(0));

  EXPECT_EQ(builtInEdition().name, "Access");
  EXPECT_EQ(programTitle(builtInEdition()), "Access Code Quorix 1.0");
  EXPECT_EQ(refreshCommandCaption(builtInEdition()), "&Aktualisieren Access VBA Projekte");
  EXPECT_EQ(refreshButtonTooltip(*editionForHostCode(2)), "Aktualisieren Word VBA Projekte (F5)");
}

TEST(AppState, StartValues) {
  test::TempFolder folder;
  SettingsStore settings(folder.path() / "settings.ini");
  const AppState state = startAppState(builtInEdition(), settings);

  EXPECT_EQ(state.edition.hostCode, 3);
  EXPECT_EQ(state.programTitle, "Access Code Quorix 1.0");
  EXPECT_EQ(state.display, DisplaySettings{});

  const fs::path dataHome = std::getenv("XDG_DATA_HOME");
  EXPECT_EQ(state.temporaryFolder, dataHome / "ZT_Quorix" / "Co_Quor_Access" / "TempDateien" / "");
  EXPECT_TRUE(fs::is_directory(state.temporaryFolder));

  EXPECT_EQ(state.programFolder.string().back(), '/');
  EXPECT_TRUE(fs::exists(state.programFolder / "test_app")) << state.programFolder;
  EXPECT_EQ(state.templateFile.filename(), kTemplateFileName);
  EXPECT_EQ(state.defaultProjectFolder, fs::path(std::getenv("HOME")) / "");
  EXPECT_FALSE(fs::exists(folder.path() / "settings.ini")) << "start writes no settings";
}

TEST(AppState, DefaultProjectFolderNeedsMoreThanOneCharacter) {
  test::TempFolder folder;
  SettingsStore settings(folder.path() / "settings.ini");
  const fs::path home = fs::path(std::getenv("HOME")) / "";

  for (const auto& [stored, folder] : {std::pair<std::string, fs::path>{"\\", home}, {"/", home},
                                       {"/data/Projekte", "/data/Projekte/"}, {"/data/Projekte/", "/data/Projekte/"}}) {
    settings.save("proj", "proj_pf", stored);
    EXPECT_EQ(defaultProjectFolder(settings), folder) << stored;
  }
}

TEST(AppState, TemplateIsLookedUpInTheProgramFolderFirst) {
  test::TempFolder folder;
  const fs::path programFolder = folder.path() / "";
  std::ofstream(programFolder / kTemplateFileName) << "template";
  EXPECT_EQ(templateFilePath(programFolder), programFolder / kTemplateFileName);
}

}  // namespace
}  // namespace cq
