// Loading and saving the display settings of section "optionen".
#include <gtest/gtest.h>

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

  test::TempFolder folder;
  std::filesystem::path ini = folder.path() / "settings.ini";
  SettingsStore store{ini};
};

TEST_F(DisplaySettingsStore, EmptyStoreGivesDefaultsAndWritesNothing) {
  const DisplaySettings settings = loaded();
  EXPECT_EQ(settings, DisplaySettings{});
  EXPECT_EQ(settings.fontName, "MS Sans Serif");
  EXPECT_EQ(settings.fontSize, 10);
  EXPECT_EQ(settings.keywordColour, 8388608);
  EXPECT_EQ(settings.commentColour, 32768);
  EXPECT_EQ(settings.stringColour, 128);
  EXPECT_EQ(settings.tabWidthMm, 5);
  EXPECT_EQ(settings.screenPreset, "max");
  EXPECT_TRUE(settings.boldRoutineLines);
  EXPECT_TRUE(settings.confirmClipboardCopy);
  EXPECT_FALSE(settings.reindent || settings.htmlPreview || settings.indentRoutineBodies ||
               settings.blankLineBeforeRoutines || settings.applyScreenPreset ||
               settings.alwaysUseProjectFolder || settings.expandProjectTree ||
               settings.removeEmptyLines);
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(DisplaySettingsStore, FlagsReadAnyNonZeroNumberAndAreSavedAsMinusOne) {
  put("einr", "1");
  put("rouf", "0");
  put("meld", "ja");  // no number: off
  put("leer", "-1");
  put("rle", "0.4");  // not rounded: non-zero is on
  DisplaySettings settings = loaded();
  EXPECT_TRUE(settings.reindent);
  EXPECT_FALSE(settings.boldRoutineLines);
  EXPECT_FALSE(settings.confirmClipboardCopy);
  EXPECT_TRUE(settings.removeEmptyLines);
  EXPECT_TRUE(settings.blankLineBeforeRoutines);

  saveDisplaySettings(store, settings);
  EXPECT_EQ(store.get(kOptionsSection, "einr"), "-1");
  EXPECT_EQ(store.get(kOptionsSection, "rouf"), "0");
  EXPECT_EQ(store.get(kOptionsSection, "meld"), "0");
  EXPECT_EQ(store.get(kOptionsSection, "vor"), "0");
}

TEST_F(DisplaySettingsStore, NumbersAreReadLikeValAndRoundedHalvesToEven) {
  put("fkey", "blau");
  put("fkom", " 1 2 ");
  put("fstr", "255.5");
  put("tab", "6.5");
  put("font", "Courier New,  11.5");
  DisplaySettings settings = loaded();
  EXPECT_EQ(settings.keywordColour, 0);
  EXPECT_EQ(settings.commentColour, 12) << "blanks are ignored";
  EXPECT_EQ(settings.stringColour, 256);
  EXPECT_EQ(settings.tabWidthMm, 6);
  EXPECT_EQ(settings.fontName, "Courier New");
  EXPECT_EQ(settings.fontSize, 12);

  put("fkey", "99999999999");  // beyond 32 bits
  put("tab", "40000");         // beyond 16 bits
  put("fstr", "12mm");
  put("font", "Arial");
  settings = loaded();
  EXPECT_EQ(settings.keywordColour, 0);
  EXPECT_EQ(settings.tabWidthMm, 0);
  EXPECT_EQ(settings.stringColour, 12);
  EXPECT_EQ(settings.fontName, "Arial");
  EXPECT_EQ(settings.fontSize, 0);

  put("font", "Lucida, Sans,9");
  settings = loaded();
  EXPECT_EQ(settings.fontName, "Lucida");
  EXPECT_EQ(settings.fontSize, 9);
}

TEST_F(DisplaySettingsStore, SaveWritesEveryKeyButTheScreenPresetAndLoadsBack) {
  DisplaySettings settings;
  settings.keywordColour = 255;
  settings.commentColour = 65280;
  settings.stringColour = 16711680;
  settings.reindent = true;
  settings.boldRoutineLines = false;
  settings.htmlPreview = true;
  settings.indentRoutineBodies = true;
  settings.blankLineBeforeRoutines = true;
  settings.confirmClipboardCopy = false;
  settings.applyScreenPreset = true;
  settings.alwaysUseProjectFolder = true;
  settings.expandProjectTree = true;
  settings.removeEmptyLines = true;
  settings.tabWidthMm = 12;
  settings.fontName = "DejaVu Sans Mono";
  settings.fontSize = 9;
  settings.screenPreset = "10,20,300,400";
  saveDisplaySettings(store, settings);

  EXPECT_EQ(store.get(kOptionsSection, "fkey"), "255");
  EXPECT_EQ(store.get(kOptionsSection, "font"), "DejaVu Sans Mono,9");
  EXPECT_EQ(store.get(kOptionsSection, "tab"), "12");
  EXPECT_EQ(store.get(kOptionsSection, "bis"), "");
  EXPECT_EQ(store.get("proj", "proj_pf"), "");
  EXPECT_EQ(store.getAll(kOptionsSection).size(), 15u);

  DisplaySettings reloaded = loaded();
  reloaded.screenPreset = settings.screenPreset;
  EXPECT_EQ(reloaded, settings);
}

TEST(DisplaySettingsOptions, MarkupAndRenderOptionsCarryTheSettings) {
  DisplaySettings settings;
  settings.indentRoutineBodies = true;  // without "einr": the scanner ignores it
  settings.removeEmptyLines = true;
  settings.blankLineBeforeRoutines = true;
  settings.keywordColour = 1;
  settings.commentColour = 2;
  settings.stringColour = 3;
  settings.fontName = "Arial";
  settings.fontSize = 14;
  settings.tabWidthMm = 8;
  settings.boldRoutineLines = false;

  const MarkupOptions markup = settings.toMarkupOptions();
  EXPECT_FALSE(markup.reindent);
  EXPECT_TRUE(markup.indentRoutineBodies);
  EXPECT_TRUE(markup.removeEmptyLines);
  EXPECT_TRUE(markup.blankLineBeforeRoutines);

  const RenderOptions render = settings.toRenderOptions();
  EXPECT_EQ(render.keywordColour, 1);
  EXPECT_EQ(render.commentColour, 2);
  EXPECT_EQ(render.stringColour, 3);
  EXPECT_EQ(render.fontName, "Arial");
  EXPECT_EQ(render.fontSize, 14);
  EXPECT_EQ(render.tabWidthMm, 8);
  EXPECT_FALSE(render.boldRoutineLines);
}

TEST(NumericValue, TakesTheLeadingNumber) {
  EXPECT_EQ(numericValue(""), 0);
  EXPECT_EQ(numericValue("abc"), 0);
  EXPECT_EQ(numericValue("-"), 0);
  EXPECT_EQ(numericValue("."), 0);
  EXPECT_EQ(numericValue("-1"), -1);
  EXPECT_EQ(numericValue("+7x"), 7);
  EXPECT_EQ(numericValue(".5"), 0.5);
  EXPECT_EQ(numericValue("1.5.3"), 1.5);
  EXPECT_EQ(numericValue("2e3"), 2000);
  EXPECT_EQ(numericValue("2D2"), 200);
  EXPECT_EQ(numericValue("2e"), 2);
  EXPECT_EQ(numericValue("1,5"), 1) << "the decimal point is always \".\"";
}

}  // namespace
}  // namespace cq
