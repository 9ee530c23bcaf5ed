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
  EXPECT_TRUE(settings.markup.reindent && settings.markup.removeEmptyLines && settings.markup.blankLineBeforeRoutines);
  EXPECT_FALSE(settings.render.boldRoutineLines || settings.confirmClipboardCopy);

  saveDisplaySettings(store, settings);
  EXPECT_EQ(stored("einr"), "-1");
  EXPECT_EQ(stored("rouf"), "0");
  EXPECT_EQ(stored("meld"), "0");
  EXPECT_EQ(stored("vor"), "0");
}

TEST_F(DisplaySettingsStore, NumbersAreReadLikeValAndRoundedHalvesToEven) {
  const auto expectRead = [&](std::int32_t keyword, std::int32_t comment, std::int32_t string, int tab,
                              const char* font, int size) {
    const RenderOptions render = loaded().render;
    EXPECT_EQ(render.keywordColour, keyword);
    EXPECT_EQ(render.commentColour, comment);
    EXPECT_EQ(render.stringColour, string);
    EXPECT_EQ(render.tabWidthMm, tab);
    EXPECT_EQ(render.fontName, font);
    EXPECT_EQ(render.fontSize, size);
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

  // The store holds Unicode; the renderers get the name as engine text.
  put("font", "Schrift \xC3\x84hnlich,10");
  expectRead(0, 12, 12, 0, "Schrift Ähnlich", 10);
}

TEST_F(DisplaySettingsStore, SaveWritesEveryKeyButTheScreenPresetAndLoadsBack) {
  // Flags on and off by turns, so that no two keys could swap their fields unseen.
  const DisplaySettings settings{
      .markup = {.removeEmptyLines = true, .reindent = false, .blankLineBeforeRoutines = true,
                 .indentRoutineBodies = false},
      .render = {.keywordColour = 255, .commentColour = 65280, .stringColour = 16711680,
                 .fontName = "Schöne Mono", .fontSize = 9, .tabWidthMm = 12, .boldRoutineLines = false},
      .htmlPreview = true,
      .screenPreset = "10,20,300,400",
      .confirmClipboardCopy = false,
      .applyScreenPreset = true,
      .alwaysUseProjectFolder = false,
      .expandProjectTree = true};
  saveDisplaySettings(store, settings);
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(store.getAll(kOptionsSection),
            (Pairs{{"aufk", "-1"}, {"einr", "0"}, {"fkey", "255"}, {"fkom", "65280"}, {"font", "Sch\xC3\xB6ne Mono,9"},
                   {"fstr", "16711680"}, {"leer", "-1"}, {"meld", "0"}, {"rer", "0"}, {"rle", "-1"}, {"rouf", "0"},
                   {"stapro", "0"}, {"tab", "12"}, {"usb", "-1"}, {"vor", "-1"}, {"zsatz", "0"}}));
  EXPECT_EQ(store.get("proj", "proj_pf"), "");

  DisplaySettings reloaded = loaded();
  EXPECT_EQ(reloaded.screenPreset, "max");
  reloaded.screenPreset = settings.screenPreset;
  EXPECT_EQ(reloaded, settings);
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
