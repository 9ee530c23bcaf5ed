#include "projects/vba/vba_project_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "projects/vba/code_page.h"
#include "projects/vba/dir_stream.h"
#include "projects/vba/ovba_compression.h"
#include "projects/vba/project_stream.h"
#include "support/ovba_compressor.h"
#include "support/vba_project_writer.h"

namespace cq {
namespace {

using test::VbaProjectPlan;
using Streams = std::map<std::string, std::string>;

constexpr std::size_t kNoLimit = 64u * 1024 * 1024;

LoadedProject read(const Streams& streams) { return readVbaProject(test::MapVbaStorage(streams), "/daten/Mappe.xlsm"); }
LoadedProject read(const VbaProjectPlan& plan) { return read(test::buildVbaProjectStreams(plan)); }

// The HostError message of reading `streams`, or "" when it reads.
std::string readError(const Streams& streams) {
  try {
    read(streams);
  } catch (const HostError& error) {
    return error.what();
  }
  return {};
}

std::string allLines(const HostComponent& component) { return component.lines(1, component.countOfLines()); }

VbaProjectPlan mixedProject() {
  VbaProjectPlan plan;
  plan.name = "Kalkulation";
  plan.modules = {
      {"DieseArbeitsmappe", "", 100,
       "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\r\n"
       "Attribute VB_Creatable = False\r\nOption Explicit\r\n"},
      {"Modul1", "", 1,
       "Option Explicit\r\nSub Start()\r\n  Attribute Start.VB_Description = \"x\"\r\n  Rechne\r\nEnd Sub\r\n"},
      {"Kunde", "", 2, "Attribute VB_Exposed = False\r\nPrivate mName As String\r\n"},
      {"frmEingabe", "", 3, "Private Sub UserForm_Click()\r\nEnd Sub"},
      {"Tabelle1", "", 100, ""},
  };
  return plan;
}

TEST(VbaProjectReader, ReadsModulesInDirOrderWithKindsAndVisibleLines) {
  const LoadedProject project = read(mixedProject());
  EXPECT_EQ(project.name(), "Kalkulation");
  EXPECT_EQ(project.fileName(), "/daten/Mappe.xlsm");
  EXPECT_FALSE(project.protection());
  EXPECT_EQ(project.loadError(), "");
  ASSERT_EQ(project.componentCount(), 5);
  // Attribute lines (the VB_Name line the host writes first among them) are hidden.
  const std::tuple<std::string, int, std::string> expected[] = {
      {"DieseArbeitsmappe", 100, "Option Explicit"},
      {"Modul1", 1, "Option Explicit\r\nSub Start()\r\n  Rechne\r\nEnd Sub"},
      {"Kunde", 2, "Private mName As String"},
      {"frmEingabe", 3, "Private Sub UserForm_Click()\r\nEnd Sub"},
      {"Tabelle1", 100, ""}};
  for (long i = 1; i <= 5; ++i) {
    const auto& [name, type, code] = expected[i - 1];
    EXPECT_EQ(project.component(i).name(), name);
    EXPECT_EQ(project.component(i).type(), type) << name;
    EXPECT_EQ(allLines(project.component(i)), code) << name;
  }
  EXPECT_EQ(project.component("modul1").countOfLines(), 4);
  EXPECT_EQ(project.component(5).countOfLines(), 0);

  // Without PROJECT stream the kinds fall back to the dir stream, where document,
  // class and form modules share one type.
  Streams streams = test::buildVbaProjectStreams(mixedProject());
  streams.erase("PROJECT");
  const LoadedProject fallback = read(streams);
  ASSERT_EQ(fallback.componentCount(), 5);
  for (long i = 1; i <= 4; ++i) EXPECT_EQ(fallback.component(i).type(), i == 2 ? 1 : 2) << i;
  EXPECT_FALSE(fallback.protection());
}

TEST(VbaProjectReader, LockedProjectReportsProtection) {
  VbaProjectPlan plan = mixedProject();
  plan.locked = true;
  const LoadedProject project = read(plan);
  EXPECT_TRUE(project.protection());
  EXPECT_EQ(project.componentCount(), 5);

  // Both visibility states round-trip through the obfuscation for salts with 0 to 3 ignored bytes.
  for (unsigned char salt : {0x00, 0x02, 0x44, 0xFE}) {
    for (const std::string& data : {std::string(1, '\0'), std::string(1, '\xFF'), std::string("\x01\x02\x03\x04", 4)}) {
      EXPECT_EQ(decryptProjectValue(test::encryptProjectValue(data, "{ABC}", salt)), data);
    }
  }
  const std::string sound = test::encryptProjectValue(std::string(1, '\0'), "{ABC}", 0x44);
  for (const std::string& bad : {std::string("0E0C"), std::string("XYZ"), sound.substr(0, sound.size() - 2), "00" + sound.substr(2)}) {
    EXPECT_FALSE(decryptProjectValue(bad).has_value()) << bad;  // too short, no hex, cut short, wrong version
  }
  EXPECT_TRUE(ProjectStream("ID=\"{ABC}\"\r\nGC=\"" + sound + "\"\r\n").lockedForViewing());
  EXPECT_FALSE(ProjectStream("GC=\"" + sound.substr(0, 6) + "\"\r\n").lockedForViewing());  // garbled: readable
  // Editor sections hold no module kinds; Access says "DocClass" for form modules; the Mac ends lines with LF CR.
  const ProjectStream sections(
      "Module=Alpha\n\rDocClass=Form_Kunden/&H00000000\n\r[Workspace]\n\rClass=0, 0, 0, 0, C\n\rModule=Beta\n\r");
  EXPECT_EQ(sections.componentType("ALPHA", false), 1);
  EXPECT_EQ(sections.componentType("form_kunden", false), 100);
  EXPECT_EQ(sections.componentType("Beta", false), 2);
  EXPECT_EQ(sections.componentType("Beta", true), 1);
}

TEST(VbaProjectReader, NamesAndCodeAreConvertedFromTheProjectCodePage) {
  // Windows-1252 umlauts stay as they are; the Unicode name wins over the ANSI one.
  VbaProjectPlan western;
  western.name = "M\xFCller";
  western.modules = {{"Modul_Ae", "Modul_\xC3\x84", 1, "' \xC4nderung f\xFCr gro\xDF\r\n"}};
  LoadedProject project = read(western);
  EXPECT_EQ(project.name(), "M\xFCller");
  ASSERT_EQ(project.componentCount(), 1);
  EXPECT_EQ(project.component(1).name(), "Modul_\xC4");
  EXPECT_EQ(project.component(1).type(), 1);  // the kind is found under the ANSI name
  EXPECT_EQ(allLines(project.component(1)), "' \xC4nderung f\xFCr gro\xDF");
  EXPECT_EQ(project.replacedCharacters(), 0u);

  // Cyrillic has no place in Windows-1252: each letter becomes "?" and is counted.
  VbaProjectPlan cyrillic;
  cyrillic.codePage = 1251;
  cyrillic.name = "\xCF\xF0\xEE\xE5\xEA\xF2";                                                // "Проект"
  cyrillic.modules = {{"Module1", "", 1, "MsgBox \"\xCF\xF0\xE8\xE2\xE5\xF2 \xAB\x85\xBB\"\r\n"}};  // "Привет «…»"
  project = read(cyrillic);
  EXPECT_EQ(project.name(), "??????");
  EXPECT_EQ(allLines(project.component(1)), "MsgBox \"?????? \xAB\x85\xBB\"");
  EXPECT_EQ(project.component(1).replacedCharacters(), 6u);
  EXPECT_EQ(project.replacedCharacters(), 6u);

  // Mac Roman: module "Änderungen", comment "ÄÖÜäöüß" ending in a lone CR.
  VbaProjectPlan mac;
  mac.codePage = 10000;
  mac.modules = {{"\x80nderungen", "", 1, "' \x80\x85\x86\x8A\x9A\x9F\xA7\r"}};
  project = read(mac);
  EXPECT_EQ(project.component(1).name(), "\xC4nderungen");
  EXPECT_EQ(project.component(1).countOfLines(), 1);
  EXPECT_EQ(allLines(project.component(1)), "' \xC4\xD6\xDC\xE4\xF6\xFC\xDF");
  EXPECT_EQ(project.replacedCharacters(), 0u);

  EXPECT_EQ(codePageToWindows1252("\x80\x81\xFF", 1252).text, "\x80\x81\xFF");
  EXPECT_EQ(codePageToWindows1252("Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xE4\xB8\xAD", 65001).text, "Gr\xFC\xDF \x80 ?");
  const DecodedText japanese = codePageToWindows1252("A\x93\xFA\x96\x7Bz", 932);  // "A日本z"
  EXPECT_EQ(japanese.text, "A??z");
  EXPECT_EQ(japanese.replaced, 2u);
  const DecodedText undefined = codePageToWindows1252("a\x98z\x93", 1251);  // 0x98 undefined, 0x93 a quote in both
  EXPECT_EQ(undefined.text, "a?z\x93");
  EXPECT_EQ(undefined.replaced, 1u);
  EXPECT_EQ(codePageToWindows1252("x\x93", 932).text, "x?");  // half a character at the end
  // A code page the system does not know is read as Windows-1252.
  EXPECT_EQ(codePageToWindows1252("\xC4pfel", 4711).text, "\xC4pfel");
  EXPECT_EQ(codePageToUtf8("\xC4", 4711), "\xC3\x84");
  EXPECT_EQ(codePageToWindows1252(std::string("K\0\xF6\0", 4), kUtf16LeCodePage).text, "K\xF6");
}

TEST(VbaProjectReader, SourceStartsAtTheTextOffsetAndSurvivesRawChunks) {
  VbaProjectPlan plan;
  std::string longCode;
  for (int i = 0; i < 600; ++i) longCode += "    Summe = Summe + Wert(" + std::to_string(i) + ")\r\n";
  plan.modules = {{"Modul1", "", 1, "Sub A()\r\nEnd Sub\r\n", 1234}, {"Modul2", "", 1, longCode, 5000}};
  for (bool raw : {false, true}) {
    plan.rawChunksOnly = raw;
    const LoadedProject project = read(plan);
    ASSERT_EQ(project.componentCount(), 2);
    EXPECT_EQ(allLines(project.component(1)), "Sub A()\r\nEnd Sub");
    EXPECT_EQ(project.component(2).countOfLines(), 600);
    EXPECT_EQ(project.component(2).lines(600, 1), "    Summe = Summe + Wert(599)");
  }
}

TEST(VbaProjectReader, MissingOrDamagedStreamsGiveAMessageNamingTheFileAndModule) {
  const std::string damaged = "Das VBA-Projekt der Datei /daten/Mappe.xlsm ist besch\xE4" "digt: ";
  EXPECT_EQ(readError({{"PROJECT", "ID=\"{X}\"\r\n"}}), "Die Datei /daten/Mappe.xlsm enth\xE4" "lt kein VBA-Projekt.");
  VbaProjectPlan plan = mixedProject();
  plan.modules[2].omitStream = true;
  EXPECT_EQ(readError(test::buildVbaProjectStreams(plan)), damaged + "der Stream des Moduls Kunde fehlt.");
  Streams streams = test::buildVbaProjectStreams(mixedProject());
  streams["VBA/Modul1"][0] = '\x07';
  EXPECT_EQ(readError(streams), damaged + "der Quelltext des Moduls Modul1 ist nicht lesbar komprimiert.");
  streams = test::buildVbaProjectStreams(mixedProject());
  streams["VBA/dir"][0] = '\x00';
  EXPECT_EQ(readError(streams), damaged + "das Verzeichnis (dir) ist nicht lesbar komprimiert.");

  // The source starts behind the compiled code: a stream ending before it is damaged,
  // one storing no source there (nothing, or zeros) gives an empty module.
  plan.modules = {{"Modul1", "", 1, "Sub A()\r\nEnd Sub\r\n", 10}};
  streams = test::buildVbaProjectStreams(plan);
  std::string& withPrefix = streams["VBA/Modul1"];
  withPrefix.resize(9);
  EXPECT_EQ(readError(streams), damaged + "der Quelltext des Moduls Modul1 beginnt hinter dem Ende seines Streams.");
  withPrefix.resize(10);
  EXPECT_EQ(read(streams).component(1).countOfLines(), 0);
  withPrefix.resize(2000, '\0');
  EXPECT_EQ(read(streams).component(1).countOfLines(), 0);
  withPrefix[1500] = '\x01';
  EXPECT_NE(readError(streams).find("Modul1 ist nicht lesbar komprimiert."), std::string::npos);
}

TEST(VbaProjectReader, TruncatedOrGarbledDirStreamIsAnErrorNotACrash) {
  Streams streams = test::buildVbaProjectStreams(mixedProject());
  const std::string dir = *decompressOvba(streams["VBA/dir"], kNoLimit);
  ASSERT_NO_THROW(parseDirStream(dir));
  // Every cut is noticed, wherever it falls.
  for (std::size_t length = 0; length < dir.size(); ++length) {
    EXPECT_THROW(parseDirStream(dir.substr(0, length)), VbaFormatError) << length;
  }
  streams["VBA/dir"] = test::compressOvba(dir.substr(0, dir.size() / 2));
  EXPECT_NE(readError(streams).find("ist besch\xE4" "digt: "), std::string::npos);

  // An unknown record id, a module record outside a module, a size beyond the end.
  std::string unknown = dir;
  unknown[0] = '\x77';
  for (const std::string& bad : {unknown, std::string("\x31\x00\x04\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00", 16),
                                 std::string("\x04\x00\xFF\xFF\xFF\xFF" "abc", 9)}) {
    EXPECT_THROW(parseDirStream(bad), VbaFormatError);
  }
  // Random damage to the records: an error or a project, never a crash.
  std::mt19937 engine(2024);
  for (int round = 0; round < 3000; ++round) {
    std::string garbled = dir;
    for (int flips = 0; flips < 3; ++flips) garbled[engine() % garbled.size()] = static_cast<char>(engine());
    streams["VBA/dir"] = test::compressOvba(garbled);
    try {
      read(streams);
    } catch (const HostError&) {
    }
  }

  // A Unicode name whose size counts a final zero character, or an odd byte.
  const std::string record = std::string("\x47\x00\x0C\x00\x00\x00" "M\0o\0d\0u\0l\0" "1\0", 18);
  std::string odd = dir;
  const std::size_t at = odd.find(record);
  ASSERT_NE(at, std::string::npos);
  odd.replace(at, record.size(), std::string("\x47\x00\x0F\x00\x00\x00" "M\0o\0d\0u\0l\0" "1\0\0\0\0", 21));
  const DirStream parsed = parseDirStream(odd);
  ASSERT_EQ(parsed.modules.size(), 5u);
  EXPECT_EQ(parsed.modules[1].name, "Modul1");
  EXPECT_EQ(parsed.modules[1].codePageName, "Modul1");
  EXPECT_EQ(parsed.modules[1].streamName, "Modul1");
  EXPECT_TRUE(parsed.modules[1].isProcedural);
  EXPECT_FALSE(parsed.modules[0].isProcedural);
  EXPECT_EQ(parsed.codePage, 1252);
}

}  // namespace
}  // namespace cq
