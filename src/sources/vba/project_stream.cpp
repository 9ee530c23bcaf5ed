#include "sources/vba/project_stream.h"

#include <algorithm>
#include <cstdint>

#include "text/ascii_case.h"
#include "sources/host_application.h"

namespace cq {
namespace {

constexpr unsigned kEncryptionVersion = 2;
constexpr unsigned char kLockedForViewing = 0x00;

std::optional<std::string> hexToBytes(std::string_view hex) {
  const auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = nibble(hex[i]);
    const int low = nibble(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::string_view withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

int componentTypeOfKey(std::string_view key) {
  if (equalsIgnoringAsciiCase(key, "Module")) return kStandardModule;
  if (equalsIgnoringAsciiCase(key, "Class")) return kClassModule;
  if (equalsIgnoringAsciiCase(key, "BaseClass")) return kUserForm;
  // Access writes its form and report modules as "DocClass=".
  if (equalsIgnoringAsciiCase(key, "Document") || equalsIgnoringAsciiCase(key, "DocClass")) return kDocumentModule;
  return 0;
}

}  // namespace

std::optional<std::string> decryptProjectValue(std::string_view hexText) {
  const std::optional<std::string> encrypted = hexToBytes(hexText);
  if (!encrypted || encrypted->size() < 3) return std::nullopt;
  const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>((*encrypted)[i]); };
  const std::uint8_t salt = at(0);
  const std::uint8_t versionEncrypted = at(1);
  const std::uint8_t projectKeyEncrypted = at(2);
  if ((salt ^ versionEncrypted) != kEncryptionVersion) return std::nullopt;

  // Each byte is XORed with the sum of the encrypted byte two places back and
  // the plain byte before it.
  std::uint8_t plainBefore = salt ^ projectKeyEncrypted;
  std::uint8_t encryptedBefore = projectKeyEncrypted;
  std::uint8_t encryptedTwoBack = versionEncrypted;
  std::size_t pos = 3;
  const auto nextPlain = [&]() {
    const std::uint8_t byteEncrypted = at(pos++);
    const std::uint8_t plain = byteEncrypted ^ static_cast<std::uint8_t>(encryptedTwoBack + plainBefore);
    encryptedTwoBack = encryptedBefore;
    encryptedBefore = byteEncrypted;
    plainBefore = plain;
    return plain;
  };

  const std::size_t ignoredLength = (salt & 6) / 2;
  if (encrypted->size() < pos + ignoredLength + 4) return std::nullopt;
  for (std::size_t i = 0; i < ignoredLength; ++i) nextPlain();
  std::size_t dataLength = 0;
  for (int i = 0; i < 4; ++i) dataLength |= static_cast<std::size_t>(nextPlain()) << (8 * i);
  if (dataLength != encrypted->size() - pos) return std::nullopt;
  std::string data;
  data.reserve(dataLength);
  while (pos < encrypted->size()) data += static_cast<char>(nextPlain());
  return data;
}

ProjectStream::ProjectStream(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.starts_with("[")) break;  // the host's and the editor's sections follow
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    std::string_view value = line.substr(equals + 1);
    if (const int type = componentTypeOfKey(key); type != 0) {
      if (type == kDocumentModule) value = value.substr(0, value.find('/'));  // "Name/&H00000000"
      modules_.push_back(ModuleKind{std::string(value), type});
    } else if (equalsIgnoringAsciiCase(key, "GC")) {
      const std::optional<std::string> state = decryptProjectValue(withoutQuotes(value));
      lockedForViewing_ = state && !state->empty() && static_cast<unsigned char>(state->front()) == kLockedForViewing;
    }
  }
}

int ProjectStream::componentType(std::string_view codePageName, bool isProcedural) const {
  // The exact name first: in a double-byte code page, ignoring the case of
  // A-Z could also match a second byte.
  auto listed = std::find_if(modules_.begin(), modules_.end(),
                             [&](const ModuleKind& module) { return module.name == codePageName; });
  if (listed == modules_.end()) {
    listed = std::find_if(modules_.begin(), modules_.end(),
                          [&](const ModuleKind& module) { return equalsIgnoringAsciiCase(module.name, codePageName); });
  }
  if (listed != modules_.end()) return listed->type;
  return isProcedural ? kStandardModule : kClassModule;
}

}  // namespace cq
