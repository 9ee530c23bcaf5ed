// Loading and saving the display settings of section "optionen".
#include <gtest/gtest.h>

#include <tuple>

#include "app/display_settings.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

class DisplaySettingsStore : public ::testing::Test {
 protected:
  DisplaySettings loaded() {
    DisplaySettings settings;
    loadDisplaySettings(store, settings);
    return settings;
  }
  void put(const char* key, const std::string& value) { store.save(kOptionsSection, key, value); }
  std::string stored(const char* key) { return store.get(kOptionsSection, key); }

  test::TempFolder folder;
  std::filesystem::path ini = folder.path() / "settings.ini";
  SettingsStore store{ini};
};

TEST_F(DisplaySettingsStore, EmptyStoreGivesDefaultsAndWritesNothing) {
  EXPECT_EQ(loaded(), DisplaySettings{});
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(DisplaySettingsStore, FlagsReadAnyNonZeroNumberAndAreSavedAsMinusOne) {
  put("einr", "1");
  put("rouf", "0");
  put("meld", "ja");  // no number: off
  put("leer", "-1");
  put("rle", "0.4");  // not rounded: non-zero is on
  const DisplaySettings settings = loaded();
  EXPECT_TRUE(settings.reindent && settings.removeEmptyLines && settings.blankLineBeforeRoutines);
  EXPECT_FALSE(settings.boldRoutineLines || settings.confirmClipboardCopy);

  saveDisplaySettings(store, settings);
  EXPECT_EQ(stored("einr"), "-1");
  EXPECT_EQ(stored("rouf"), "0");
  EXPECT_EQ(stored("meld"), "0");
  EXPECT_EQ(stored("vor"), "0");
}

TEST_F(DisplaySettingsStore, NumbersAreReadLikeValAndRoundedHalvesToEven) {
  const auto expectRead = [&](std::int32_t keyword, std::int32_t comment, std::int32_t string, int tab,
                              const char* font, int size) {
    const DisplaySettings settings = loaded();
    EXPECT_EQ(settings.keywordColour, keyword);
    EXPECT_EQ(settings.commentColour, comment);
    EXPECT_EQ(settings.stringColour, string);
    EXPECT_EQ(settings.tabWidthMm, tab);
    EXPECT_EQ(settings.fontName, font);
    EXPECT_EQ(settings.fontSize, size);
  };
  put("fkey", "blau");
  put("fkom", " 1 2 ");  // blanks are ignored
  put("fstr", "255.5");
  put("tab", "6.5");
  put("font", "Courier New,  11.5");
  expectRead(0, 12, 256, 6, "Courier New", 12);

  put("fkey", "99999999999");  // beyond 32 bits
  put("tab", "40000");         // beyond 16 bits
  put("fstr", "12mm");
  put("font", "Arial");
  expectRead(0, 12, 12, 0, "Arial", 0);

  put("font", "Lucida, Sans,9");
  expectRead(0, 12, 12, 0, "Lucida", 9);
}

TEST_F(DisplaySettingsStore, SaveWritesEveryKeyButTheScreenPresetAndLoadsBack) {
  const DisplaySettings settings{.keywordColour = 255, .commentColour = 65280, .stringColour = 16711680,
                                 .reindent = true, .boldRoutineLines = false, .htmlPreview = true,
                                 .indentRoutineBodies = true, .blankLineBeforeRoutines = true,
                                 .screenPreset = "10,20,300,400", .confirmClipboardCopy = false,
                                 .applyScreenPreset = true, .alwaysUseProjectFolder = true,
                                 .expandProjectTree = true, .removeEmptyLines = true, .tabWidthMm = 12,
                                 .fontName = "DejaVu Sans Mono", .fontSize = 9};
  saveDisplaySettings(store, settings);
  EXPECT_EQ(stored("fkey"), "255");
  EXPECT_EQ(stored("font"), "DejaVu Sans Mono,9");
  EXPECT_EQ(stored("bis"), "");
  EXPECT_EQ(store.getAll(kOptionsSection).size(), 15u);
  EXPECT_EQ(store.get("proj", "proj_pf"), "");

  DisplaySettings reloaded = loaded();
  EXPECT_EQ(reloaded.screenPreset, "max");
  reloaded.screenPreset = settings.screenPreset;
  EXPECT_EQ(reloaded, settings);
}

TEST(DisplaySettingsOptions, MarkupAndRenderOptionsCarryTheSettings) {
  const DisplaySettings settings{.keywordColour = 1, .commentColour = 2, .stringColour = 3,
                                 .boldRoutineLines = false, .indentRoutineBodies = true,  // without "einr"
                                 .blankLineBeforeRoutines = true, .removeEmptyLines = true, .tabWidthMm = 8,
                                 .fontName = "Arial", .fontSize = 14};
  const MarkupOptions markup = settings.toMarkupOptions();
  EXPECT_FALSE(markup.reindent);
  EXPECT_TRUE(markup.indentRoutineBodies && markup.removeEmptyLines && markup.blankLineBeforeRoutines);

  const RenderOptions render = settings.toRenderOptions();
  EXPECT_EQ(std::tuple(render.keywordColour, render.commentColour, render.stringColour, render.tabWidthMm),
            std::tuple(1, 2, 3, 8));
  EXPECT_EQ(render.fontName, "Arial");
  EXPECT_EQ(render.fontSize, 14);
  EXPECT_FALSE(render.boldRoutineLines);
}

TEST(NumericValue, TakesTheLeadingNumber) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},     {"abc", 0},      {"-", 0},      {".", 0},       {"-1", -1}, {"+7x", 7},
      {".5", 0.5}, {"1.5.3", 1.5}, {"2e3", 2000}, {"2D2", 200},   {"2e", 2},
      {"1,5", 1},  // the decimal point is always "."
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(numericValue(text), value) << text;
}

}  // namespace
}  // namespace cq
