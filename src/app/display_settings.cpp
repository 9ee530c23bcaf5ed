#include "app/display_settings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "app/settings_store.h"

namespace cq {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Nearest whole number, halves to even; out of range (or no number) reads as 0.
template <typename Integer>
Integer roundedValue(const std::string& text) {
  const double rounded = std::nearbyint(numericValue(text));
  if (!(rounded >= std::numeric_limits<Integer>::min() &&
        rounded <= std::numeric_limits<Integer>::max())) {
    return 0;
  }
  return static_cast<Integer>(rounded);
}

bool flagValue(const std::string& text) { return numericValue(text) != 0; }

const char* flagText(bool on) { return on ? "-1" : "0"; }

// Each reader stores a non-empty text converted into its field.
void readInt32(const SettingValues& values, const char* key, std::int32_t& field) {
  const std::string text = values(key);
  if (!text.empty()) field = roundedValue<std::int32_t>(text);
}

void readInt16(const SettingValues& values, const char* key, int& field) {
  const std::string text = values(key);
  if (!text.empty()) field = roundedValue<std::int16_t>(text);
}

void readFlag(const SettingValues& values, const char* key, bool& field) {
  const std::string text = values(key);
  if (!text.empty()) field = flagValue(text);
}

void readFont(const SettingValues& values, DisplaySettings& settings) {
  const std::string text = values("font");
  if (text.empty()) return;
  const auto firstComma = text.find(',');
  if (firstComma == std::string::npos) {
    settings.fontName = text;
    settings.fontSize = 0;
    return;
  }
  settings.fontName = text.substr(0, firstComma);
  settings.fontSize = roundedValue<std::int16_t>(text.substr(text.rfind(',') + 1));
}

}  // namespace

double numericValue(const std::string& text) {
  std::string number;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') number += c;
  }
  // The longest prefix of the form [sign] digits [. digits] [exponent digits].
  std::size_t end = 0;
  bool negative = false;
  if (end < number.size() && (number[end] == '+' || number[end] == '-')) {
    negative = number[end] == '-';
    ++end;
  }
  const std::size_t mantissaStart = end;
  while (end < number.size() && isDigit(number[end])) ++end;
  if (end < number.size() && number[end] == '.') {
    ++end;
    while (end < number.size() && isDigit(number[end])) ++end;
  }
  std::string mantissa = number.substr(mantissaStart, end - mantissaStart);
  if (mantissa.empty() || mantissa == ".") return 0;
  // VBA also writes the exponent with "D".
  if (end + 1 < number.size() && std::strchr("eEdD", number[end]) != nullptr) {
    std::size_t exponentEnd = end + 1;
    if (number[exponentEnd] == '+' || number[exponentEnd] == '-') ++exponentEnd;
    const std::size_t digitsStart = exponentEnd;
    while (exponentEnd < number.size() && isDigit(number[exponentEnd])) ++exponentEnd;
    if (exponentEnd > digitsStart) {
      mantissa += 'e';
      mantissa.append(number, end + 1, exponentEnd - end - 1);
    }
  }
  double value = 0;
  const auto result = std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value);
  if (result.ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
  return negative ? -value : value;
}

void loadDisplaySettings(const SettingValues& values, DisplaySettings& settings) {
  readInt32(values, "fkey", settings.keywordColour);
  readInt32(values, "fkom", settings.commentColour);
  readInt32(values, "fstr", settings.stringColour);
  readFlag(values, "einr", settings.reindent);
  readFlag(values, "rouf", settings.boldRoutineLines);
  readFlag(values, "vor", settings.htmlPreview);
  readFlag(values, "rer", settings.indentRoutineBodies);
  readFlag(values, "rle", settings.blankLineBeforeRoutines);
  if (std::string preset = values("bis"); !preset.empty()) {
    settings.screenPreset = std::move(preset);
  }
  readFlag(values, "meld", settings.confirmClipboardCopy);
  readFlag(values, "usb", settings.applyScreenPreset);
  readFlag(values, "stapro", settings.alwaysUseProjectFolder);
  readFlag(values, "aufk", settings.expandProjectTree);
  readFlag(values, "leer", settings.removeEmptyLines);
  readInt16(values, "tab", settings.tabWidthMm);
  readFont(values, settings);
}

void loadDisplaySettings(const SettingsStore& store, DisplaySettings& settings) {
  loadDisplaySettings([&store](const char* key) { return store.get(kOptionsSection, key); }, settings);
}

void saveDisplaySettings(SettingsStore& store, const DisplaySettings& settings) {
  const auto save = [&store](const char* key, const std::string& value) {
    store.save(kOptionsSection, key, value);
  };
  save("fkey", std::to_string(settings.keywordColour));
  save("fkom", std::to_string(settings.commentColour));
  save("fstr", std::to_string(settings.stringColour));
  save("rouf", flagText(settings.boldRoutineLines));
  save("aufk", flagText(settings.expandProjectTree));
  save("leer", flagText(settings.removeEmptyLines));
  save("vor", flagText(settings.htmlPreview));
  save("rer", flagText(settings.indentRoutineBodies));
  save("rle", flagText(settings.blankLineBeforeRoutines));
  save("meld", flagText(settings.confirmClipboardCopy));
  save("einr", flagText(settings.reindent));
  save("stapro", flagText(settings.alwaysUseProjectFolder));
  save("tab", std::to_string(settings.tabWidthMm));
  save("font", settings.fontName + "," + std::to_string(settings.fontSize));
  save("usb", flagText(settings.applyScreenPreset));
}

MarkupOptions DisplaySettings::toMarkupOptions() const {
  MarkupOptions options;
  options.removeEmptyLines = removeEmptyLines;
  options.reindent = reindent;
  options.blankLineBeforeRoutines = blankLineBeforeRoutines;
  options.indentRoutineBodies = indentRoutineBodies;
  return options;
}

RenderOptions DisplaySettings::toRenderOptions() const {
  RenderOptions options;
  options.keywordColour = keywordColour;
  options.commentColour = commentColour;
  options.stringColour = stringColour;
  options.fontName = fontName;
  options.fontSize = fontSize;
  options.tabWidthMm = tabWidthMm;
  options.boldRoutineLines = boldRoutineLines;
  return options;
}

}  // namespace cq
