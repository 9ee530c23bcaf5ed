#include "app/display_settings.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <variant>

#include "app/settings_store.h"
#include "text/text_decoding.h"

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

// How the text of a key maps to its field.
struct Whole32 {  // a number rounded to 32 bits
  std::int32_t* field;
};
struct Whole16 {  // a number rounded to 16 bits
  int* field;
};
struct Flag {  // any number but 0 is on; written as "-1" or "0"
  bool* field;
};
struct Text {
  std::string* field;
};
struct Font {  // the name before the first ",", the size after the last one; the name
               // is stored as Unicode and kept as engine text
  std::string* name;
  int* size;
};
using Field = std::variant<Whole32, Whole16, Flag, Text, Font>;

struct OptionKey {
  const char* key;
  Field field;
  bool saved = true;
};

// Every key of section "optionen" with the field it fills, in the order of
// saving. A key that reads as empty leaves its field alone, so the defaults are
// those the settings start with.
std::array<OptionKey, 17> optionKeys(DisplaySettings& s) {
  return {{{"fkey", Whole32{&s.render.keywordColour}},
           {"fkom", Whole32{&s.render.commentColour}},
           {"fstr", Whole32{&s.render.stringColour}},
           {"rouf", Flag{&s.render.boldRoutineLines}},
           {"aufk", Flag{&s.expandProjectTree}},
           {"leer", Flag{&s.markup.removeEmptyLines}},
           {"vor", Flag{&s.htmlPreview}},
           {"rer", Flag{&s.markup.indentRoutineBodies}},
           {"rle", Flag{&s.markup.blankLineBeforeRoutines}},
           {"meld", Flag{&s.confirmClipboardCopy}},
           {"einr", Flag{&s.markup.reindent}},
           {"stapro", Flag{&s.alwaysUseProjectFolder}},
           {"tab", Whole16{&s.render.tabWidthMm}},
           {"font", Font{&s.render.fontName, &s.render.fontSize}},
           {"usb", Flag{&s.applyScreenPreset}},
           {kModuleFileCodePageKey, Whole32{&s.moduleFileCodePage}},
           // Written by the screen preset command only.
           {"bis", Text{&s.screenPreset}, false}}};
}

template <typename... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
// Spelled out for compilers without deduction from aggregate initialisation (clang 14).
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

// Stores a non-empty text converted into the field.
void read(const Field& field, const std::string& text) {
  std::visit(Overloaded{[&](const Whole32& f) { *f.field = roundedValue<std::int32_t>(text); },
                        [&](const Whole16& f) { *f.field = roundedValue<std::int16_t>(text); },
                        [&](const Flag& f) { *f.field = numericValue(text) != 0; },
                        [&](const Text& f) { *f.field = text; },
                        [&](const Font& f) {
                          const auto firstComma = text.find(',');
                          *f.name = text.substr(0, firstComma);
                          if (firstComma == std::string::npos) {
                            *f.size = 0;
                            return;
                          }
                          *f.size = roundedValue<std::int16_t>(text.substr(text.rfind(',') + 1));
                        }},
             field);
}

std::string textOf(const Field& field) {
  return std::visit(Overloaded{[](const Whole32& f) { return std::to_string(*f.field); },
                               [](const Whole16& f) { return std::to_string(*f.field); },
                               [](const Flag& f) { return std::string(*f.field ? "-1" : "0"); },
                               [](const Text& f) { return *f.field; },
                               [](const Font& f) { return *f.name + "," + std::to_string(*f.size); }},
                    field);
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

int wholeNumber16(const std::string& text) { return roundedValue<std::int16_t>(text); }

OptionValueFit optionValueFit(const std::string& key, const std::string& value) {
  DisplaySettings scratch;
  for (const OptionKey& option : optionKeys(scratch)) {
    if (key != option.key) continue;
    const bool numeric = std::holds_alternative<Whole32>(option.field) ||
                         std::holds_alternative<Whole16>(option.field) || std::holds_alternative<Flag>(option.field);
    const std::size_t first = value.find_first_not_of(' ');
    if (!numeric || first == std::string::npos) return OptionValueFit::kFits;
    const std::size_t last = value.find_last_not_of(' ');
    const char* start = value.data() + first + (value[first] == '+' || value[first] == '-' ? 1 : 0);
    const char* end = value.data() + last + 1;
    long long number = 0;
    const auto parsed = std::from_chars(start, end, number);
    return start < end && *start != '-' && parsed.ptr == end ? OptionValueFit::kFits : OptionValueFit::kNotANumber;
  }
  return OptionValueFit::kUnknownKey;
}

void loadDisplaySettings(const SettingValues& values, DisplaySettings& settings) {
  for (const OptionKey& option : optionKeys(settings))
    if (const std::string text = values(option.key); !text.empty()) read(option.field, text);
}

void loadDisplaySettings(const SettingsStore& store, DisplaySettings& settings) {
  loadDisplaySettings([&store](const char* key) { return store.get(kOptionsSection, key); }, settings);
}

void saveDisplaySettings(SettingsStore& store, const DisplaySettings& settings) {
  // The table hands out its fields for changing, so it is laid over a copy.
  DisplaySettings copy = settings;
  for (const OptionKey& option : optionKeys(copy))
    if (option.saved) store.save(kOptionsSection, option.key, textOf(option.field));
}

}  // namespace cq
