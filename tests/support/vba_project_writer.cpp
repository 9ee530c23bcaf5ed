#include "support/vba_project_writer.h"

#include <cstdint>

#include "text/ascii_case.h"
#include "sources/vba/code_page.h"
#include "support/ovba_compressor.h"

namespace cq::test {
namespace {

constexpr std::string_view kProjectId = "{5E8D0C0B-4C2A-4A3C-9F0E-0123456789AB}";
constexpr std::string_view kFormsPackage = "{AC9F2F90-E877-11CE-9F68-00AA00574A4F}";

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length && pos + i < utf8.size(); ++i) {
      codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
    }
    pos += length;
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      appendLittleEndian(out, 0xD800 + (codePoint >> 10), 2);
      appendLittleEndian(out, 0xDC00 + (codePoint & 0x3FF), 2);
    } else {
      appendLittleEndian(out, codePoint, 2);
    }
  }
  return out;
}

// The dir stream's records: an id, a size and the data.
class DirWriter {
 public:
  void record(unsigned id, std::string_view data) {
    appendLittleEndian(out_, id, 2);
    appendLittleEndian(out_, static_cast<std::uint32_t>(data.size()), 4);
    out_.append(data);
  }
  void number(unsigned id, std::uint32_t value, int bytes) {
    std::string data;
    appendLittleEndian(data, value, bytes);
    record(id, data);
  }
  // PROJECTVERSION, whose size field is a constant 4 before 6 bytes of data.
  void projectVersion(std::uint32_t major, unsigned minor) {
    appendLittleEndian(out_, 0x0009, 2);
    appendLittleEndian(out_, 4, 4);
    appendLittleEndian(out_, major, 4);
    appendLittleEndian(out_, minor, 2);
  }
  const std::string& bytes() const { return out_; }

 private:
  std::string out_;
};

std::string sized(std::string_view text) {
  std::string out;
  appendLittleEndian(out, static_cast<std::uint32_t>(text.size()), 4);
  out.append(text);
  return out;
}

// One reference of each layout the dir stream knows, as a real project has them.
void writeReferences(DirWriter& dir) {
  const std::string stdole =
      "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\Windows\\System32\\stdole2.tlb#OLE Automation";
  dir.record(0x0016, "stdole");
  dir.record(0x003E, utf8ToUtf16Le("stdole"));
  std::string registered = sized(stdole);
  appendLittleEndian(registered, 0, 4);
  appendLittleEndian(registered, 0, 2);
  dir.record(0x000D, registered);

  const std::string forms = "*\\G{0D452EE1-E08F-101A-852E-02608C4D0BB4}#2.0#0#C:\\Windows\\System32\\FM20.DLL#Forms 2.0";
  dir.record(0x0016, "MSForms");
  dir.record(0x003E, utf8ToUtf16Le("MSForms"));
  dir.record(0x0033, "*\\G{0D452EE1-E08F-101A-852E-02608C4D0BB4}#2.0#0#FM20.DLL");
  std::string twiddled = sized("*\\G{5CC8C8F6-3A6C-4F29-8D1B-0D64B1B3C2E4}#2.0#0#C:\\Temp\\MSForms.exd#Twiddled");
  appendLittleEndian(twiddled, 0, 4);
  appendLittleEndian(twiddled, 0, 2);
  dir.record(0x002F, twiddled);
  dir.record(0x0016, "MSForms");
  dir.record(0x003E, utf8ToUtf16Le("MSForms"));
  std::string extended = sized(forms);
  appendLittleEndian(extended, 0, 4);
  appendLittleEndian(extended, 0, 2);
  extended.append(16, '\x5A');  // the original type library's GUID
  appendLittleEndian(extended, 0, 4);
  dir.record(0x0030, extended);

  dir.record(0x0016, "Helfer");
  dir.record(0x003E, utf8ToUtf16Le("Helfer"));
  std::string project = sized("*\\CC:\\Projekte\\Helfer.xlam");
  project += sized("*\\CHelfer.xlam");
  appendLittleEndian(project, 1, 4);
  appendLittleEndian(project, 0, 2);
  dir.record(0x000E, project);
}

std::string unicodeNameOf(const VbaModulePlan& module, int codePage) {
  return module.unicodeName.empty() ? codePageToText(module.name, codePage).text : module.unicodeName;
}

std::string streamNameOf(const VbaModulePlan& module, int codePage) {
  return module.streamName.empty() ? unicodeNameOf(module, codePage) : module.streamName;
}

std::string dirStream(const VbaProjectPlan& plan, const std::vector<std::uint32_t>& textOffsets) {
  DirWriter dir;
  dir.number(0x0001, 1, 4);       // 32-bit Windows
  dir.number(0x004A, 2, 4);       // compatibility version
  dir.number(0x0002, 0x0407, 4);  // German
  dir.number(0x0014, 0x0407, 4);
  dir.number(0x0003, static_cast<std::uint32_t>(plan.codePage), 2);
  dir.record(0x0004, plan.name);
  dir.record(0x0005, "");
  dir.record(0x0040, "");
  dir.record(0x0006, "");
  dir.record(0x003D, "");
  dir.number(0x0007, 0, 4);
  dir.number(0x0008, 0, 4);
  dir.projectVersion(1425393128, 3);
  dir.record(0x000C, "");
  dir.record(0x003C, "");
  writeReferences(dir);
  dir.number(0x000F, static_cast<std::uint32_t>(plan.modules.size()), 2);
  dir.number(0x0013, 0xFFFF, 2);
  for (std::size_t i = 0; i < plan.modules.size(); ++i) {
    const VbaModulePlan& module = plan.modules[i];
    const std::string unicodeName = utf8ToUtf16Le(unicodeNameOf(module, plan.codePage));
    dir.record(0x0019, module.name);
    dir.record(0x0047, unicodeName);
    const std::string streamName = streamNameOf(module, plan.codePage);
    dir.record(0x001A, module.streamName.empty() ? module.name : streamName);
    dir.record(0x0032, utf8ToUtf16Le(streamName));
    dir.record(0x001C, "");
    dir.record(0x0048, "");
    dir.number(0x0031, textOffsets[i], 4);
    dir.number(0x001E, 0, 4);
    dir.number(0x002C, 0xFFFF, 2);
    dir.record(module.kind == 1 ? 0x0021 : 0x0022, "");
    if (module.kind == 2) dir.record(0x0028, "");  // private, as classes of add-ins are
    dir.record(0x002B, "");
  }
  dir.record(0x0010, "");
  return dir.bytes();
}

std::string projectStream(const VbaProjectPlan& plan) {
  std::string text = "ID=\"" + std::string(kProjectId) + "\"\r\n";
  bool hasForms = false;
  for (const VbaModulePlan& module : plan.modules) {
    switch (module.kind) {
      case 1: text += "Module=" + module.name + "\r\n"; break;
      case 2: text += "Class=" + module.name + "\r\n"; break;
      case 3:
        text += "BaseClass=" + module.name + "\r\n";
        hasForms = true;
        break;
      default: text += "Document=" + module.name + "/&H00000000\r\n"; break;
    }
  }
  if (hasForms) text += "Package=" + std::string(kFormsPackage) + "\r\n";
  text += "Name=\"" + plan.name + "\"\r\nHelpContextID=\"0\"\r\nVersionCompatible32=\"393222000\"\r\n";
  std::string protectionState;
  appendLittleEndian(protectionState, plan.locked ? 7 : 0, 4);
  const std::string password = plan.locked ? std::string(29, '\x3C') : std::string(1, '\0');
  text += "CMG=\"" + encryptProjectValue(protectionState, kProjectId, 0x1D) + "\"\r\n";
  text += "DPB=\"" + encryptProjectValue(password, kProjectId, 0x07) + "\"\r\n";
  text += "GC=\"" + encryptProjectValue(std::string(1, plan.locked ? '\0' : '\xFF'), kProjectId, 0x42) + "\"\r\n";
  text += "\r\n[Host Extender Info]\r\n&H00000001={3832D640-CF90-11CF-8E43-00A0C911005A};VBE;&H00000000\r\n";
  text += "\r\n[Workspace]\r\n";
  // The editor's window positions: lines that look like "Name=..." but name no kind.
  for (const VbaModulePlan& module : plan.modules) text += module.name + "=26, 26, 1043, 507, Z\r\n";
  return text;
}

std::string nameMapStream(const VbaProjectPlan& plan) {
  std::string out;
  for (const VbaModulePlan& module : plan.modules) {
    out += module.name;
    out += '\0';
    out += utf8ToUtf16Le(unicodeNameOf(module, plan.codePage));
    out.append(2, '\0');
  }
  out.append(2, '\0');
  return out;
}

// Stand-in for the compiled code that precedes the source in a module stream.
std::string compiledCodePrefix(std::size_t size) {
  std::string prefix(size, '\0');
  for (std::size_t i = 0; i < size; ++i) prefix[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  return prefix;
}

}  // namespace

std::string encryptProjectValue(std::string_view data, std::string_view projectId, unsigned char salt) {
  constexpr std::uint8_t kVersion = 2;
  std::uint8_t projectKey = 0;
  for (char c : projectId) projectKey = static_cast<std::uint8_t>(projectKey + static_cast<unsigned char>(c));
  std::string encrypted;
  encrypted += static_cast<char>(salt);
  encrypted += static_cast<char>(salt ^ kVersion);
  encrypted += static_cast<char>(salt ^ projectKey);
  std::uint8_t plainBefore = projectKey;
  std::uint8_t encryptedBefore = salt ^ projectKey;
  std::uint8_t encryptedTwoBack = salt ^ kVersion;
  const auto put = [&](std::uint8_t plain) {
    const std::uint8_t byteEncrypted = plain ^ static_cast<std::uint8_t>(encryptedTwoBack + plainBefore);
    encrypted += static_cast<char>(byteEncrypted);
    encryptedTwoBack = encryptedBefore;
    encryptedBefore = byteEncrypted;
    plainBefore = plain;
  };
  for (int i = 0; i < (salt & 6) / 2; ++i) put(static_cast<std::uint8_t>(0x5A + i));
  for (int i = 0; i < 4; ++i) put(static_cast<std::uint8_t>((data.size() >> (8 * i)) & 0xFF));
  for (char c : data) put(static_cast<std::uint8_t>(c));

  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (char c : encrypted) {
    hex += kHex[static_cast<unsigned char>(c) >> 4];
    hex += kHex[static_cast<unsigned char>(c) & 0xF];
  }
  return hex;
}

std::map<std::string, std::string> buildVbaProjectStreams(const VbaProjectPlan& plan) {
  std::map<std::string, std::string> streams;
  std::vector<std::uint32_t> textOffsets;
  for (const VbaModulePlan& module : plan.modules) {
    textOffsets.push_back(static_cast<std::uint32_t>(module.pcodePrefix));
    const std::string path = "VBA/" + streamNameOf(module, plan.codePage);
    if (module.omitStream || streams.contains(path)) continue;
    const std::string source = "Attribute VB_Name = \"" + module.name + "\"\r\n" + module.code;
    streams[path] = compiledCodePrefix(module.pcodePrefix) + compressOvba(source, plan.rawChunksOnly);
  }
  streams["VBA/dir"] = compressOvba(dirStream(plan, textOffsets), plan.rawChunksOnly);
  streams["VBA/_VBA_PROJECT"] = std::string("\xCC\x61\xFF\xFF\x00\x00\x00", 7);
  streams["PROJECT"] = projectStream(plan);
  streams["PROJECTwm"] = nameMapStream(plan);
  return streams;
}

std::optional<std::string> MapVbaStorage::stream(std::string_view path) const {
  for (const auto& [name, bytes] : streams_) {
    if (equalsIgnoringAsciiCase(name, path)) return bytes;
  }
  return std::nullopt;
}

}  // namespace cq::test
