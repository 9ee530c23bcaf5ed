#include "sources/office/workbook_callers.h"

#include <cstdint>
#include <algorithm>
#include <optional>
#include <string>

#include "sources/vba/code_page.h"
#include "text/utf8.h"

namespace cq {

namespace {

// Record types of the binary workbook format.
constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kFilePass = 0x002F, kBoundSheet = 0x0085, kLbl = 0x0018,
                        kExternSheet = 0x0017, kSupBook = 0x01AE, kExternName = 0x0023, kObj = 0x005D;
// Sub-records of an object record.
constexpr std::uint16_t kFtEnd = 0x0000, kFtMacro = 0x0004, kFtCmo = 0x0015;
// The virtual path of a supporting link to this workbook itself.
constexpr std::uint16_t kSelfReference = 0x0401;

struct Record {
  std::uint16_t type = 0;
  std::string_view data;
};

std::uint16_t u16(std::string_view bytes, std::size_t at) {
  if (at + 2 > bytes.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t u32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(u16(bytes, at)) | static_cast<std::uint32_t>(u16(bytes, at + 2)) << 16;
}

// The record at `at`, and where the next one starts; nullopt where the stream ends.
std::optional<Record> recordAt(std::string_view stream, std::size_t& at) {
  if (at + 4 > stream.size()) return std::nullopt;
  const std::size_t size = u16(stream, at + 2);
  if (at + 4 + size > stream.size()) return std::nullopt;
  Record record{u16(stream, at), stream.substr(at + 4, size)};
  at += 4 + size;
  return record;
}

// A string of `count` characters from `at`, after its flags byte: one byte
// each (the low byte of UTF-16) or UTF-16LE.
std::string unicodeString(std::string_view data, std::size_t at, std::size_t count) {
  if (at >= data.size()) return {};
  const bool wide = data[at] & 1;
  const std::string_view characters = data.substr(at + 1, wide ? 2 * count : count);
  if (wide) return codePageToText(characters, kUtf16LeCodePage).text;
  std::string text;
  for (const char c : characters) utf8::append(text, static_cast<unsigned char>(c));
  return text;
}

// Form controls and shapes by their object type, as the report names them.
std::string objectName(std::uint16_t objectType) {
  switch (objectType) {
    case 0x07: return "Schaltfläche";
    case 0x0B: return "Kontrollkästchen";
    case 0x0C: return "Optionsfeld";
    case 0x10: return "Drehfeld";
    case 0x11: return "Bildlaufleiste";
    case 0x12: return "Listenfeld";
    case 0x13: return "Gruppenfeld";
    case 0x14: return "Kombinationsfeld";
    case 0x06: return "Beschriftung";
    default: break;
  }
  return "Zeichnungsobjekt";
}

// What the globals of the workbook name: its sheets, its defined names and the
// external names of its supporting links.
struct Globals {
  std::vector<std::pair<std::uint32_t, std::string>> sheets;  // where each sheet's records start, its name
  std::vector<std::string> names;                             // Lbl records, in order (1-based in formulas)
  std::vector<std::vector<std::string>> externNames;          // per SupBook, its ExternName records
  std::vector<bool> selfReferencing;                          // per SupBook: this workbook, whose names are Lbl
  std::vector<std::uint16_t> supBookOfXti;                    // ExternSheet: the SupBook of each XTI
  bool encrypted = false;
};

Globals readGlobals(std::string_view stream) {
  Globals globals;
  std::size_t at = 0;
  for (std::optional<Record> record = recordAt(stream, at); record && record->type != kEof;
       record = recordAt(stream, at)) {
    const std::string_view data = record->data;
    switch (record->type) {
      case kFilePass:
        globals.encrypted = true;
        return globals;
      case kBoundSheet:
        if (data.size() >= 8) globals.sheets.emplace_back(u32(data, 0), unicodeString(data, 7, static_cast<unsigned char>(data[6])));
        break;
      case kLbl: {
        const bool builtIn = u16(data, 0) & 0x0020;
        const std::size_t length = data.size() > 3 ? static_cast<unsigned char>(data[3]) : 0;
        globals.names.push_back(builtIn ? std::string() : unicodeString(data, 14, length));
        break;
      }
      case kSupBook:
        globals.externNames.emplace_back();
        globals.selfReferencing.push_back(u16(data, 2) == kSelfReference);
        break;
      case kExternName:
        // Of a supporting link to this workbook or an add-in: flags, four
        // reserved bytes, then the name with its length in one byte.
        if (!globals.externNames.empty() && data.size() > 7)
          globals.externNames.back().push_back(unicodeString(data, 7, static_cast<unsigned char>(data[6])));
        break;
      case kExternSheet:
        for (std::size_t i = 0, count = u16(data, 0); i < count && 2 + 6 * i + 6 <= data.size(); ++i)
          globals.supBookOfXti.push_back(u16(data, 2 + 6 * i));
        break;
      default:
        break;
    }
  }
  return globals;
}

// The name a macro formula refers to: its first name token, a defined name
// (1-based) or a name of a supporting link, which for this workbook itself is
// again a defined name.
std::string macroOfFormula(std::string_view formula, const Globals& globals) {
  for (std::size_t at = 0; at < formula.size(); ++at) {
    const auto token = static_cast<unsigned char>(formula[at]);
    if (token == 0x23 || token == 0x43 || token == 0x63) {  // a defined name
      const std::uint32_t index = u32(formula, at + 1);
      return index >= 1 && index <= globals.names.size() ? globals.names[index - 1] : std::string();
    }
    if (token == 0x39 || token == 0x59 || token == 0x79) {  // an external name
      const std::uint16_t xti = u16(formula, at + 1);
      const std::uint32_t index = u32(formula, at + 3);
      if (xti >= globals.supBookOfXti.size()) return {};
      const std::uint16_t supBook = globals.supBookOfXti[xti];
      if (supBook >= globals.externNames.size()) return {};
      const std::vector<std::string>& names =
          globals.selfReferencing[supBook] ? globals.names : globals.externNames[supBook];
      return index >= 1 && index <= names.size() ? names[index - 1] : std::string();
    }
  }
  return {};
}

// The object's type and the macro its record names, when it names one.
void readObject(std::string_view data, const Globals& globals, const std::string& sheet,
                std::vector<DocumentCaller>& callers) {
  std::uint16_t objectType = 0;
  for (std::size_t at = 0; at + 4 <= data.size();) {
    const std::uint16_t ft = u16(data, at);
    const std::size_t size = u16(data, at + 2);
    const std::string_view body = data.substr(at + 4, size);
    if (ft == kFtEnd) return;
    if (ft == kFtCmo) objectType = u16(body, 0);
    if (ft == kFtMacro && body.size() >= 8) {
      // cbFmla, cce, four unused bytes, then the cce bytes of the formula's tokens.
      const std::size_t tokens = std::min<std::size_t>(u16(body, 2) & 0x7FFF, body.size() - 8);
      const std::string macro = macroOfFormula(body.substr(8, tokens), globals);
      DocumentCaller caller = macroCaller(macro, objectName(objectType) + " auf " + sheet);
      if (!caller.routine.empty()) callers.push_back(std::move(caller));
      return;
    }
    at += 4 + size;
  }
}

}  // namespace

std::vector<DocumentCaller> workbookCallers(std::string_view stream) {
  std::vector<DocumentCaller> callers;
  const Globals globals = readGlobals(stream);
  if (globals.encrypted) return callers;
  for (const auto& [start, sheet] : globals.sheets) {
    // The sheet's records up to its EOF; an embedded chart nests its own BOF … EOF.
    std::size_t at = start;
    int depth = 0;
    for (std::optional<Record> record = recordAt(stream, at); record; record = recordAt(stream, at)) {
      if (depth == 0 && record->type != kBof) break;
      if (record->type == kBof) ++depth;
      if (record->type == kEof && --depth == 0) break;
      if (record->type == kObj) readObject(record->data, globals, sheet, callers);
    }
  }
  return callers;
}

}  // namespace cq
