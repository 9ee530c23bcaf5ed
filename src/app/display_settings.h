#pragma once
// The display settings of section "optionen": the mark-up and render options,
// the screen preset and the behaviour flags (settings keys in comments). The
// defaults are the options' own.
#include <functional>
#include <string>

#include "render/markup_options.h"
#include "render/render_options.h"

namespace cq {

class SettingsStore;

inline constexpr const char* kOptionsSection = "optionen";
inline constexpr const char* kModuleFileCodePageKey = "zsatz";

struct DisplaySettings {
  MarkupOptions markup;  // "leer", "einr", "rle", "rer"
  RenderOptions render;  // "fkey", "fkom", "fstr", "font", "tab", "rouf"
  bool htmlPreview = false;  // "vor"
  // "bis": "max" or the stored window placement; loaded here, but written only
  // by the screen preset command.
  std::string screenPreset = "max";
  bool confirmClipboardCopy = true;     // "meld"
  bool applyScreenPreset = false;       // "usb"
  bool alwaysUseProjectFolder = false;  // "stapro"
  bool expandProjectTree = false;       // "aufk"
  // "zsatz": the code page module files are read in; 0 detects it for each
  // project's files.
  int moduleFileCodePage = 0;

  bool operator==(const DisplaySettings&) const = default;
};

// The text of a key of section "optionen" ("" when absent).
using SettingValues = std::function<std::string(const char* key)>;

// Reads every key that holds text into `settings`; empty keys keep their value.
// Numbers are read like VBA's Val: a text that is no number reads as 0, and so
// does a number out of range.
void loadDisplaySettings(const SettingsStore& store, DisplaySettings& settings);
void loadDisplaySettings(const SettingValues& values, DisplaySettings& settings);
// Writes every key except "bis"; flags as "-1" or "0".
void saveDisplaySettings(SettingsStore& store, const DisplaySettings& settings);

// How a value given for a key of section "optionen" fits it: the key must be
// one of the section's, and a key that holds a number must get a whole number
// text (blanks around it allowed; empty keeps the value).
enum class OptionValueFit { kFits, kUnknownKey, kNotANumber };
OptionValueFit optionValueFit(const std::string& key, const std::string& value);

// The numeric value of the leading number of a text, blanks ignored, 0 when there
// is none (like VBA's Val).
double numericValue(const std::string& text);
// numericValue rounded to a 16-bit whole number (halves to even); 0 when out of range.
int wholeNumber16(const std::string& text);

}  // namespace cq
