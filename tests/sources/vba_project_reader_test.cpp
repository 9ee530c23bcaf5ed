#include "sources/vba/vba_project_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "sources/vba/code_page.h"
#include "sources/vba/dir_stream.h"
#include "sources/vba/ovba_compression.h"
#include "sources/vba/project_stream.h"
#include "support/ovba_compressor.h"
#include "support/vba_project_writer.h"

namespace cq {
namespace {

using test::VbaProjectPlan;
using Streams = std::map<std::string, std::string>;

constexpr std::size_t kNoLimit = 64u * 1024 * 1024;

LoadedProject read(const Streams& streams, std::size_t codeBudget = std::size_t{1} << 30) {
  return readVbaProject(test::MapVbaStorage(streams), "/daten/Mappe.xlsm", codeBudget);
}
LoadedProject read(const VbaProjectPlan& plan) { return read(test::buildVbaProjectStreams(plan)); }

// The Failed message of reading `streams`, or "" when it reads.
std::string readError(const Streams& streams) {
  try {
    read(streams);
  } catch (const Failed& error) {
    return error.what();
  }
  return {};
}

std::string allLines(const HostComponent& component) { return component.lines(1, component.countOfLines()); }

std::string bytes(std::initializer_list<unsigned> values) {
  std::string out;
  for (unsigned value : values) out += static_cast<char>(value);
  return out;
}

// "c" for a compressed chunk, "r" for a raw one.
std::string chunkKinds(std::string_view container) {
  std::string kinds;
  for (std::size_t pos = 1; pos + 2 <= container.size();) {
    const unsigned header =
        static_cast<unsigned char>(container[pos]) | (static_cast<unsigned char>(container[pos + 1]) << 8);
    kinds += (header & 0x8000) != 0 ? 'c' : 'r';
    pos += (header & 0xFFF) + 3;
  }
  return kinds;
}

// Noise, or text with repeats at every distance so that copy tokens of every bit split occur.
std::string sample(std::mt19937& engine, std::size_t size, bool noise) {
  static const char* const kWords[] = {"Dim ", "As Long", "\r\n", "    ", "If x Then", "End If", "' Kommentar "};
  std::string out;
  while (out.size() < size) {
    if (noise || engine() % 4 == 0)
      out += static_cast<char>(noise ? engine() : 'a' + engine() % 26);
    else
      out += kWords[engine() % std::size(kWords)];
  }
  out.resize(size);
  return out;
}

TEST(OvbaCompression, DecompressesThePublishedExampleAndRoundTripsAcrossChunkBoundaries) {
  const std::string container =
      bytes({0x01, 0x2F, 0xB0, 0x00, 0x23, 0x61, 0x61, 0x61, 0x62, 0x63, 0x64, 0x65, 0x82, 0x66, 0x00, 0x70, 0x61,
             0x67, 0x68, 0x69, 0x6A, 0x01, 0x38, 0x08, 0x61, 0x6B, 0x6C, 0x00, 0x30, 0x6D, 0x6E, 0x6F, 0x70, 0x06,
             0x71, 0x02, 0x70, 0x04, 0x10, 0x72, 0x73, 0x74, 0x75, 0x76, 0x10, 0x77, 0x78, 0x79, 0x7A, 0x00, 0x3C});
  EXPECT_EQ(decompressOvba(container, kNoLimit), "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa");
  EXPECT_EQ(decompressOvba("\x01", kNoLimit), "");
  std::mt19937 engine(4711);
  for (std::size_t size : {0, 1, 17, 4095, 4096, 4097, 8192, 8193, 40000}) {
    for (bool noise : {false, true}) {
      const std::string data = sample(engine, size, noise);
      for (bool raw : {false, true}) EXPECT_EQ(decompressOvba(test::compressOvba(data, raw), kNoLimit), data) << size;
    }
  }
  // Text compresses into token chunks, noise is stored raw: both paths are taken.
  EXPECT_EQ(chunkKinds(test::compressOvba(sample(engine, 3 * 4096, false))), "ccc");
  EXPECT_EQ(chunkKinds(test::compressOvba(sample(engine, 2 * 4096, true))), "rr");
}

TEST(OvbaCompression, RefusesDamageAndOversizeOutput) {
  const std::string text(10000, 'x');
  const std::string container = test::compressOvba(text);
  EXPECT_EQ(decompressOvba(container, 10000), text);
  std::string badSignature = container, badChunkSignature = container;
  badSignature[0] = '\x02';
  badChunkSignature[2] = static_cast<char>(badChunkSignature[2] ^ 0x40);
  for (const std::string& bad : {
           std::string(), badSignature, badChunkSignature,
           container.substr(0, container.size() - 1),  // chunk cut short
           container + "\x01",                         // half a chunk header
           bytes({0x01, 0x02, 0xB0, 0x01, 0x00, 0x00}),  // a copy token before any byte was written
           bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0x00, 0x10}),  // one pointing before the chunk
           bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0xFD, 0x0F}),  // a chunk of more than 4096 bytes
           bytes({0x01, 0x04, 0xB0, 0x02, 0x41, 0xFC, 0x0F, 0x42})}) {
    EXPECT_FALSE(decompressOvba(bad, kNoLimit).has_value()) << bad.size();
  }
  EXPECT_FALSE(decompressOvba(container, 9999).has_value());
  EXPECT_EQ(decompressOvba(bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0xFC, 0x0F}), kNoLimit), std::string(4096, 'A'));
  // Random damage never crashes and never exceeds the limit.
  std::mt19937 engine(99);
  const std::string sound = test::compressOvba(sample(engine, 20000, false));
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = sound;
    for (int flips = 0; flips < 4; ++flips) damaged[1 + engine() % (damaged.size() - 1)] = static_cast<char>(engine());
    EXPECT_LE(decompressOvba(damaged, 30000).value_or("").size(), 30000u);
  }
}

// Counts the reads of each stream.
class CountingStorage : public VbaStorage {
 public:
  explicit CountingStorage(Streams streams) : streams_(std::move(streams)) {}
  std::optional<std::string> stream(std::string_view path) const override {
    ++reads[std::string(path)];
    return streams_.stream(path);
  }
  mutable std::map<std::string, int> reads;

 private:
  test::MapVbaStorage streams_;
};

// Hostile projects whose modules all name one stream: its source is
// decompressed once, and every module's copy counts against the document's
// budget, as does one source that decompresses beyond it.
TEST(VbaProjectReader, SharedSourcesAreDecompressedOnceWithinTheBudget) {
  std::string code;
  while (code.size() < 300'000) code += "Sub S()\r\n  x = 1\r\nEnd Sub\r\n";
  VbaProjectPlan plan;
  for (int i = 1; i <= 8; ++i) plan.modules.push_back({"M" + std::to_string(i), "", 1, code, 0, false, "Geteilt"});
  const Streams streams = test::buildVbaProjectStreams(plan);
  ASSERT_LT(streams.at("VBA/Geteilt").size(), 25'000u);

  CountingStorage storage(streams);
  const LoadedProject project = readVbaProject(storage, "/daten/Bombe.bin", 8 * 310'000);
  ASSERT_EQ(project.componentCount(), 8);
  EXPECT_EQ(project.component(8).lines(1, 3), "Sub S()\r\n  x = 1\r\nEnd Sub");
  EXPECT_EQ(project.component(8).countOfLines(), project.component(1).countOfLines());
  EXPECT_EQ(storage.reads["VBA/Geteilt"], 1);

  const std::string refused = "Das VBA-Projekt der Datei /daten/Bombe.bin wird nicht gelesen: sein Code wäre entpackt";
  try {
    readVbaProject(storage, "/daten/Bombe.bin", 1'000'000);
    ADD_FAILURE() << "eight copies of 300 kB read within 1 MB";
  } catch (const Failed& failed) {
    EXPECT_EQ(failed.failure().message.rfind(refused, 0), 0u) << failed.failure().message;
    EXPECT_NE(failed.failure().message.find("als 1 MB"), std::string::npos) << failed.failure().message;
  }
  EXPECT_THROW(readVbaProject(storage, "/daten/Bombe.bin", 200'000), Failed) << "one source beyond the budget";

  bool tooLarge = false;
  EXPECT_FALSE(decompressOvba(streams.at("VBA/Geteilt"), 4000, &tooLarge));
  EXPECT_TRUE(tooLarge);
  std::string damaged = test::compressOvba(code);
  damaged[2] = static_cast<char>(damaged[2] ^ 0x40);  // no chunk signature
  EXPECT_FALSE(decompressOvba(damaged, 4000, &tooLarge));
  EXPECT_FALSE(tooLarge);
  EXPECT_EQ(decompressedCodeBudget(0), 1024u * 1024);
  EXPECT_EQ(decompressedCodeBudget(100'000), 6'400'000u);
  EXPECT_EQ(decompressedCodeBudget(std::uintmax_t{1} << 40), 128u * 1024 * 1024);
}

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
  EXPECT_EQ(project.name() + project.loadError() + " " + project.fileName(), "Kalkulation /daten/Mappe.xlsm");
  EXPECT_FALSE(project.protection());
  // Attribute lines (the VB_Name line the host writes first among them) are hidden.
  const auto modules = [](const LoadedProject& p) {
    std::string all;
    for (long i = 1; i <= p.componentCount(); ++i) {
      all += p.component(i).name() + ":" + std::to_string(p.component(i).type()) + ":" + allLines(p.component(i)) + "|";
    }
    return all;
  };
  EXPECT_EQ(modules(project),
            "DieseArbeitsmappe:100:Option Explicit|Modul1:1:Option Explicit\r\nSub Start()\r\n  Rechne\r\nEnd Sub|"
            "Kunde:2:Private mName As String|frmEingabe:3:Private Sub UserForm_Click()\r\nEnd Sub|Tabelle1:100:|");
  EXPECT_EQ(project.component("modul1").countOfLines(), 4);
  // Without PROJECT stream the kinds come from the dir stream: document, class and form modules share one.
  Streams streams = test::buildVbaProjectStreams(mixedProject());
  streams.erase("PROJECT");
  EXPECT_EQ(modules(read(streams)),
            "DieseArbeitsmappe:2:Option Explicit|Modul1:1:Option Explicit\r\nSub Start()\r\n  Rechne\r\nEnd Sub|"
            "Kunde:2:Private mName As String|frmEingabe:2:Private Sub UserForm_Click()\r\nEnd Sub|Tabelle1:2:|");
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
  for (const std::string& bad :
       {std::string("0E0C"), std::string("XYZ"), sound.substr(0, sound.size() - 2), "00" + sound.substr(2)}) {
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
  // Windows-1252 umlauts, and the Unicode module name wins over the ANSI one (under which the kind
  // is found); Cyrillic and Japanese keep every character; Mac Roman "Änderungen" with "ÄÖÜäöüß"
  // ending in a lone CR.
  struct Case {
    int codePage;
    std::string name, module, unicodeModule, code, expected;
  };
  const Case projects[] = {
      {1252, "M\xFCller", "Modul_Ae", "Modul_\xC3\x84", "' \xC4nderung f\xFCr gro\xDF\r\n",
       "Müller|Modul_Ä:1|' Änderung für groß"},
      {1251, "\xCF\xF0\xEE\xE5\xEA\xF2", "\xCC\xEE\xE4\xF3\xEB\xFC" "1", "",
       "MsgBox \"\xCF\xF0\xE8\xE2\xE5\xF2 \xAB\x85\xBB\"\r\n", "Проект|Модуль1:1|MsgBox \"Привет «…»\""},
      {932, "\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67", "\x93\xFA\x95\x74", "",
       "' \x93\xFA\x95\x74\x82\xF0\x8E\xE6\x93\xBE\r\n", "プロジェクト|日付:1|' 日付を取得"},
      {10000, "VBAProject", "\x80nderungen", "", "' \x80\x85\x86\x8A\x9A\x9F\xA7\r",
       "VBAProject|Änderungen:1|' ÄÖÜäöüß"}};
  for (const Case& c : projects) {
    VbaProjectPlan plan;
    plan.codePage = c.codePage;
    plan.name = c.name;
    plan.modules = {{c.module, c.unicodeModule, 1, c.code}};
    const LoadedProject project = read(plan);
    ASSERT_EQ(project.componentCount(), 1);
    const HostComponent& module = project.component(1);
    EXPECT_EQ(project.name() + "|" + module.name() + ":" + std::to_string(module.type()) + "|" + allLines(module),
              c.expected);
    EXPECT_EQ(project.replacedCharacters(), 0u) << c.codePage;
    EXPECT_EQ(project.codePage(), c.codePage);
  }
  // Multi-byte pages, bytes a page leaves undefined, half a character at the end, UTF-16; a code
  // page the system does not know is read as Windows-1252. Hebrew and Vietnamese
  // letters keep their marks apart, as Windows reads them, and a last letter stays.
  const std::tuple<std::string, int, std::string, std::size_t> pages[] = {
      {"\xF9\xC8\xD1\xEC\xE5\xC9\xED", 1255, "\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD", 0},
      {"\xE7\xF9\xE1\xE5\xF0\xE5\xFA", 1255, "חשבונות", 0},
      {"\xE5\xFF\xE5", 1255, "\u05D5\xEF\xBF\xBD\u05D5", 1},
      {"Vi\xEAt a\xEC", 1258, "Vi\u00EAt a\u0301", 0},
      {"\x80\x81\xFF", 1252, "€\xC2\x81ÿ", 0},
      {"Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xE4\xB8\xAD", 65001, "Grüß € 中", 0},
      {"A\x93\xFA\x96\x7Bz", 932, "A日本z", 0},
      {"a\x98z\x93", 1251, "a\xEF\xBF\xBDz“", 1},
      {"x\x93", 932, "x\xEF\xBF\xBD", 1},
      {"\xC4pfel", 4711, "Äpfel", 0},
      {std::string("K\0\xF6\0", 4), kUtf16LeCodePage, "Kö", 0}};
  for (const auto& [bytes, codePage, text, replaced] : pages) {
    const DecodedText decoded = codePageToText(bytes, codePage);
    EXPECT_EQ(decoded.text, text) << codePage;
    EXPECT_EQ(decoded.replaced, replaced) << codePage;
  }
  // And back, as module files are exported.
  EXPECT_EQ(textToCodePage("A日本z", 932), "A\x93\xFA\x96\x7Bz");
  EXPECT_EQ(textToCodePage("Привет", 1252), std::nullopt);
  EXPECT_EQ(textToCodePage("Grüß", 1252), "Gr\xFC\xDF");
}

TEST(VbaProjectReader, SourceStartsAtTheTextOffsetAndSurvivesRawChunks) {
  VbaProjectPlan plan;
  std::string longCode;
  for (int i = 0; i < 600; ++i) longCode += "    Summe = Summe + Wert(" + std::to_string(i) + ")\r\n";
  plan.modules = {{"Modul1", "", 1, "Sub A()\r\nEnd Sub\r\n", 1234}, {"Modul2", "", 1, longCode, 5000}};
  plan.rawChunksOnly = true;
  const LoadedProject project = read(plan);
  ASSERT_EQ(project.componentCount(), 2);
  EXPECT_EQ(allLines(project.component(1)), "Sub A()\r\nEnd Sub");
  EXPECT_EQ(project.component(2).countOfLines(), 600);
  EXPECT_EQ(project.component(2).lines(600, 1), "    Summe = Summe + Wert(599)");
}

TEST(VbaProjectReader, MissingOrDamagedStreamsGiveAMessageNamingTheFileAndModule) {
  const std::string damaged = "Das VBA-Projekt der Datei /daten/Mappe.xlsm ist beschädigt: ";
  EXPECT_EQ(readError({{"PROJECT", "ID=\"{X}\"\r\n"}}), "Die Datei /daten/Mappe.xlsm enthält kein VBA-Projekt.");
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
    EXPECT_THROW(parseDirStream(dir.substr(0, length)), Failed) << length;
  }
  streams["VBA/dir"] = test::compressOvba(dir.substr(0, dir.size() / 2));
  EXPECT_NE(readError(streams).find("ist beschädigt: "), std::string::npos);
  // An unknown record id, a module record outside a module, a size beyond the end.
  std::string unknown = dir;
  unknown[0] = '\x77';
  for (const std::string& bad : {unknown,
                                 std::string("\x31\x00\x04\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00", 16),
                                 std::string("\x04\x00\xFF\xFF\xFF\xFF" "abc", 9)}) {
    EXPECT_THROW(parseDirStream(bad), Failed);
  }
  // Random damage to the records: an error or a project, never a crash.
  std::mt19937 engine(2024);
  for (int round = 0; round < 2000; ++round) {
    std::string garbled = dir;
    for (int flips = 0; flips < 3; ++flips) garbled[engine() % garbled.size()] = static_cast<char>(engine());
    streams["VBA/dir"] = test::compressOvba(garbled);
    readError(streams);
  }
  // A Unicode name whose size counts a final zero character, or an odd byte.
  const std::string record = std::string("\x47\x00\x0C\x00\x00\x00" "M\0o\0d\0u\0l\0" "1\0", 18);
  std::string odd = dir;
  const std::size_t at = odd.find(record);
  ASSERT_NE(at, std::string::npos);
  odd.replace(at, record.size(), std::string("\x47\x00\x0F\x00\x00\x00" "M\0o\0d\0u\0l\0" "1\0\0\0\0", 21));
  const DirStream parsed = parseDirStream(odd);
  ASSERT_EQ(parsed.modules.size(), 5u);
  const DirModule& modul1 = parsed.modules[1];
  EXPECT_EQ(modul1.name + modul1.codePageName + modul1.streamName, "Modul1Modul1Modul1");
  EXPECT_TRUE(parsed.modules[1].isProcedural && !parsed.modules[0].isProcedural);
  EXPECT_EQ(parsed.codePage, 1252);
}

}  // namespace
}  // namespace cq
