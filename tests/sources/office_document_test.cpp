#include "sources/office/office_document.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <iostream>
#include <random>
#include <sstream>

#include "text/ascii_case.h"
#include "sources/document_loader.h"
#include "sources/module_file.h"
#include "sources/office/content_types.h"
#include "sources/office/powerpoint_records.h"
#include "sources/office/zlib_inflate.h"
#include "sources/source_file.h"
#include "text/text_decoding.h"
#include "support/corpus.h"
#include "support/office_samples.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::EmbeddedStorage;
using test::StreamMap;

TEST(OfficeDocument, ReadsTheProjectOfEveryKindOfFile) {
  test::TempFolder temp;
  const StreamMap project = test::sampleProjectStreams();
  StreamMap otherCase;
  for (const auto& [path, bytes] : project) otherCase.emplace(toLowerAscii(path), bytes);
  const std::string byDefault =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>";
  std::vector<test::OfficeSample> files = test::officeSamples();
  files.insert(files.end(), {
      // What a file holds decides, not its extension.
      {"Projekt.doc", test::compoundFileBytes(project)},
      {"Mappe.XLAM", test::macroWorkbookBytes(project)},
      // Presentations keep the storage compressed, sometimes without the zlib check value, or as it is.
      {"Ohne Pruefsumme.pps", test::presentationFileBytes(project, EmbeddedStorage::kCompressedWithoutChecksum)},
      {"Unverpackt.pot", test::presentationFileBytes(project, EmbeddedStorage::kUncompressed)},
      // Stream, storage and part names ignore case; the VBA part found by its default type.
      {"Klein.xls", test::compoundFileBytes(test::belowStorage("_vba_project_cur", otherCase))},
      {"Gross.docm", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/WORD/VBAPROJECT.BIN")},
                                            {"word/vbaProject.bin", test::compoundFileBytes(project)}})},
      {"Vorgabe.pptm", test::zipPackageBytes({{"[Content_Types].xml", byDefault},
                                              {"ppt/vbaProject.bin", test::compoundFileBytes(project)}})},
  });
  for (const auto& [fileName, bytes] : files) {
    SCOPED_TRACE(fileName);
    const fs::path document = temp.writeFile(fileName, bytes);
    const LoadedProject loaded = loadDocument(document);
    ASSERT_EQ(loaded.loadError(), "");
    EXPECT_EQ(loaded.fileName(), document.string());
    EXPECT_EQ(loaded.name(), "Mappe");
    EXPECT_FALSE(loaded.protection());
    std::string kinds;
    for (long i = 1; i <= loaded.componentCount(); ++i) {
      kinds += loaded.component(i).name() + ":" + std::to_string(loaded.component(i).type()) + " ";
    }
    EXPECT_EQ(kinds, "Modul1:1 DieseArbeitsmappe:100 Klasse1:2 ");
    ASSERT_EQ(loaded.component(1L).countOfLines(), 5);
    EXPECT_EQ(loaded.component(1L).lines(1, 5),
              "Option Explicit\r\n\r\nSub Test()\r\n  Debug.Print \"Grüße\"\r\nEnd Sub");
    EXPECT_EQ(loaded.component(2L).lines(1, 2), "Private Sub Workbook_Open()\r\nEnd Sub");
  }
}

TEST(OfficeDocument, FilesWithoutMacrosGiveAnEmptyProjectAndUnreadableOnesTheReason) {
  test::TempFolder temp;
  const StreamMap project = test::sampleProjectStreams();
  const std::string workbook = test::macroWorkbookBytes(project);
  const std::string compound = test::compoundFileBytes(test::belowStorage("_VBA_PROJECT_CUR", project));
  std::string noise(5000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
  // An embedded object that cannot be unpacked counts when no other one holds the project.
  std::string badRecord = test::embeddedStorageRecord(test::compoundFileBytes(project), EmbeddedStorage::kCompressed);
  badRecord[20] = static_cast<char>(badRecord[20] ^ 0x5A);
  const std::string emptyEmbedded =
      test::embeddedStorageRecord(test::compoundFileBytes({{"Contents", "x"}}), EmbeddedStorage::kCompressed);
  const std::string notOffice = " ist kein Office-Dokument.";
  const std::vector<std::array<std::string, 3>> cases = {
      // No reason: read without error, as a project of no modules named after the file.
      {"Tabelle.xlsx", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("")}}), ""},
      // Listed in the content types but missing from the package.
      {"Verloren.xlsm", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")}}),
       ""},
      {"Alt.doc", test::compoundFileBytes({{"WordDocument", std::string(700, 'd')}}), ""},
      {"Folien.ppt", test::compoundFileBytes({{"PowerPoint Document", test::presentationStream(emptyEmbedded)}}), ""},
      {"Kurz.xlsm", workbook.substr(0, workbook.size() * 2 / 3), " ist abgeschnitten."},
      {"Kurz.xls", compound.substr(0, compound.size() - 700), " ist abgeschnitten."},
      // Cut so that the VBA storage is still listed but its streams are gone.
      {"Gekappt.xls", compound.substr(0, compound.size() / 2 + 3), " ist abgeschnitten."},
      {"Geheim.xlsm",
       test::compoundFileBytes({{"EncryptionInfo", std::string(200, 'i')}, {"EncryptedPackage", std::string(9, 'p')}}),
       " ist verschlüsselt"},
      {"Text.xlsm", "Sub Test()\r\nEnd Sub\r\n", notOffice},
      {"Leer.doc", "", notOffice},
      {"Rauschen.xls", noise, notOffice},
      {"Archiv.docm", test::zipPackageBytes({{"readme.txt", "hallo"}}), notOffice},
      {"Fremd.bin", test::compoundFileBytes({{"Contents", "x"}}), " enthält kein VBA-Projekt."},
      {"Kaputt.xlsm",
       test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")},
                              {"xl/vbaProject.bin", "kein OLE2"}}),
       " ist beschädigt: das VBA-Projekt \"xl/vbaProject.bin\""},
      {"Kaputt.xlsx", test::zipPackageBytes({{"[Content_Types].xml", "<Types><Default"}}), " ist beschädigt"},
      {"Kaputt.ppt", test::compoundFileBytes({{"PowerPoint Document", test::presentationStream(badRecord)}}),
       "ein eingebettetes Objekt kann nicht entpackt werden"},
  };
  for (const auto& [fileName, bytes, reason] : cases) {
    const fs::path file = temp.writeFile(fileName, bytes);
    const LoadedProject loaded = loadDocument(file);
    EXPECT_EQ(loaded.componentCount(), 0) << fileName;
    if (reason.empty()) {
      EXPECT_EQ(loaded.loadError() + loaded.name(), file.stem().string());
      continue;
    }
    EXPECT_NE(loaded.loadError().find("\"" + file.string() + "\""), std::string::npos) << loaded.loadError();
    EXPECT_NE(loaded.loadError().find(reason), std::string::npos) << loaded.loadError();
  }
  // The loader itself throws nothing but Failed.
  EXPECT_THROW(loadOfficeDocument(temp.path() / "Kurz.xlsm"), Failed);
  EXPECT_THROW(loadOfficeDocument(temp.path() / "fehlt.xlsm"), Failed);
}

TEST(OfficeDocument, ContentTypesNameTheVbaPart) {
  const std::string xml =
      "<Types><Default Extension=\"BIN\" ContentType=\"Application/vnd.ms-office.vbaProject\"/>"
      "<Override PartName=\"/xl/printer.bin\" ContentType=\"application/printerSettings\"/>"
      "<Override PartName=\"/xl/vba%20Projekt.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>";
  EXPECT_EQ(vbaProjectParts(xml, {"xl/printer.bin", "xl/other.bin", "xl/vba Projekt.bin", "xl/a.xml"}),
            (std::vector<std::string>{"xl/vba Projekt.bin", "xl/other.bin"}));
  EXPECT_FALSE(vbaProjectParts("<Types><Override PartName=\"/a\"", {}).has_value());
  EXPECT_EQ(vbaProjectParts("<Types/>", {"xl/vbaProject.bin"}), std::vector<std::string>{});
}

TEST(OfficeDocument, EmbeddedStoragesAreFoundAndUnpackedWithinBounds) {
  const std::string payload = std::string(3000, 'a') + "Ende";
  for (const EmbeddedStorage form :
       {EmbeddedStorage::kCompressed, EmbeddedStorage::kCompressedWithoutChecksum, EmbeddedStorage::kUncompressed}) {
    // The records are views into the stream.
    const std::string stream = test::presentationStream(test::embeddedStorageRecord(payload, form));
    const auto found = embeddedStorageRecords(stream);
    ASSERT_EQ(found.size(), 1u);
    std::size_t budget = 10000, tooSmall = payload.size() - 1;
    EXPECT_EQ(embeddedStorageBytes(found[0], budget, OfficeFile{"f.ppt"}), payload);
    EXPECT_EQ(budget, 10000 - payload.size());
    EXPECT_THROW(embeddedStorageBytes(found[0], tooSmall, OfficeFile{"f.ppt"}), Failed);
  }
  // A record claiming more than its container holds ends the walk; other instances are no storages.
  std::string overlong = test::embeddedStorageRecord(payload, EmbeddedStorage::kUncompressed);
  overlong[4] = static_cast<char>(overlong[4] + 1);
  EXPECT_TRUE(embeddedStorageRecords(overlong).empty());
  EXPECT_TRUE(embeddedStorageRecords(test::presentationRecord(0, 2, 0x1011, "xxxx")).empty());
  EXPECT_TRUE(embeddedStorageRecords("\x0F\x00\xE8\x03").empty());
  // Inflating stops at the expected size and needs all of it.
  const std::string compressed = test::embeddedStorageRecord(payload, EmbeddedStorage::kCompressed).substr(12);
  EXPECT_EQ(inflateKnownSize(compressed, 100), payload.substr(0, 100));
  EXPECT_EQ(inflateKnownSize(compressed, payload.size() + 1), std::nullopt);
  EXPECT_EQ(inflateKnownSize(compressed.substr(0, compressed.size() / 2), payload.size()), std::nullopt);
  EXPECT_EQ(inflateKnownSize("no zlib data", 10), std::nullopt);
}

// Lines without trailing blanks, and without empty lines at the start and the end
// (a form's stored code may begin with one more empty line than its export).
std::vector<std::string> comparableLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line.erase(line.find_last_not_of(" \t\r") + 1));
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  lines.erase(lines.begin(), std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); }));
  return lines;
}

// Office documents and the Access database of the corpus: every module with the code of its export.
TEST(OfficeDocument, CorpusDocumentsGiveTheirModulesAndCode) {
  CQ_SKIP_WITHOUT_CORPUS();
  QFile mappingFile(QString::fromStdString((test::corpusRoot() / "OFFICE_MAPPING.json").string()));
  ASSERT_TRUE(mappingFile.open(QIODevice::ReadOnly));
  const QJsonArray documents = QJsonDocument::fromJson(mappingFile.readAll()).array();
  ASSERT_FALSE(documents.isEmpty());
  for (const QJsonValue& entry : documents) {
    const QJsonObject document = entry.toObject();
    const fs::path file = test::corpusRoot() / document["office_file"].toString().toStdString();
    SCOPED_TRACE(file.string());
    const LoadedProject project = loadDocument(file);
    const QJsonArray modules = document["modules"].toArray();
    EXPECT_EQ(project.loadError(), "");
    EXPECT_FALSE(project.protection());  // every corpus project's visibility state decodes as visible
    ASSERT_EQ(project.componentCount(), modules.size());
    for (long index = 1; index <= project.componentCount(); ++index) {
      const QJsonObject module = modules[index - 1].toObject();
      const HostComponent& component = project.component(index);
      EXPECT_EQ(component.name(), module["module"].toString().toStdString());
      EXPECT_EQ(component.type() == kStandardModule, module["type"].toString() == "std") << component.name();
      // The recorded count includes the hidden attribute lines; none for a zero-filled source part.
      EXPECT_LE(component.countOfLines(), module["lines"].toInt()) << component.name();
      if (module["status"].toString() != "identical code") continue;
      const fs::path exportFile = test::corpusRoot() / module["file"].toString().toStdString();
      const std::string exported = decodeSourceText(readSourceFile(exportFile)).text;
      const ModuleCode expected(splitModuleFile(exported).code);
      EXPECT_EQ(comparableLines(component.lines(1, component.countOfLines())),
                comparableLines(expected.lines(1, expected.countOfLines())))
          << component.name();
    }
  }
}

// `bytes` with one to four random changes: a byte flipped, a piece cut out or put in, the end cut off.
std::string mutated(std::string bytes, std::mt19937& random) {
  const auto position = [&](std::size_t size) { return size == 0 ? 0 : random() % size; };
  for (int change = 0, changes = 1 + random() % 4; change < changes; ++change) {
    const std::size_t at = position(bytes.size());
    switch (random() % 4) {
      case 0: if (!bytes.empty()) bytes[at] ^= static_cast<char>(1 + position(255)); break;
      case 1: bytes.erase(at, std::min<std::size_t>(1 + position(64), bytes.size() - at)); break;
      case 2: bytes.insert(position(bytes.size() + 1), 1 + position(16), static_cast<char>(random())); break;
      default: bytes.resize(position(bytes.size() + 1));
    }
  }
  return bytes;
}

// Every mutant gives a project or a Failed; the loader table turns the error into an
// unreadable project carrying the reason.
void loadMutants(const std::string& fileName, const std::string& original, int count, unsigned seed) {
  const test::TempFolder temp;
  std::mt19937 random(seed);
  int refused = 0;
  for (int round = 0; round < count; ++round) {
    const fs::path file = temp.writeFile(fileName, mutated(original, random));
    try {
      loadOfficeDocument(file);
    } catch (const Failed& error) {
      ++refused;
      EXPECT_NE(std::string(error.what()), "");
    } catch (const std::exception& error) {
      ADD_FAILURE() << fileName << " mutant " << round << ": " << error.what();
    }
    const LoadedProject project = loadDocument(file);
    EXPECT_TRUE(project.loadError().empty() || project.componentCount() == 0);
  }
  std::cout << "[ mutants  ] " << fileName << ": " << count << " damaged copies, " << refused << " refused\n";
}

TEST(OfficeMutation, DamagedSamplesAndSmallCorpusDocumentsAreRefusedCleanly) {
  unsigned seed = 1;
  for (const test::OfficeSample& sample : test::officeSamples()) {
    loadMutants(sample.fileName, sample.bytes, 300, seed++);
  }
  if (test::corpusRoot().empty()) return;
  for (const std::string extension : {".xlsm", ".xlsb", ".docm", ".pptm", ".xls", ".doc", ".ppt", ".bin"}) {
    std::vector<fs::path> files = test::corpusFiles({extension});
    std::erase_if(files, [](const fs::path& file) { return fs::file_size(file) > 150 * 1024; });
    if (files.empty()) continue;
    const auto bySize = [](const fs::path& a, const fs::path& b) { return fs::file_size(a) < fs::file_size(b); };
    const fs::path smallest = *std::min_element(files.begin(), files.end(), bySize);
    loadMutants("Korpus" + extension, readSourceFile(smallest), 150, seed++);
  }
}

}  // namespace
}  // namespace cq
