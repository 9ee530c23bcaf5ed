#include "projects/office/office_document.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "projects/ascii_case.h"
#include "projects/document_loader.h"
#include "projects/module_file.h"
#include "projects/office/content_types.h"
#include "projects/office/office_file_errors.h"
#include "projects/office/powerpoint_records.h"
#include "projects/office/zlib_inflate.h"
#include "projects/text_decoding.h"
#include "support/corpus.h"
#include "support/office_samples.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::EmbeddedStorage;
using test::StreamMap;

std::vector<std::string> componentNames(const HostProject& project) {
  std::vector<std::string> names;
  for (long i = 1; i <= project.componentCount(); ++i) names.push_back(project.component(i).name());
  return names;
}

// The document's project, checked to be the sample project in full.
void expectSampleProject(const fs::path& document) {
  SCOPED_TRACE(document.filename().string());
  const LoadedProject project = loadDocument(document);
  ASSERT_EQ(project.loadError(), "");
  EXPECT_EQ(project.fileName(), document.string());
  EXPECT_EQ(project.name(), "Mappe");
  EXPECT_FALSE(project.protection());
  ASSERT_EQ(componentNames(project), (std::vector<std::string>{"Modul1", "DieseArbeitsmappe", "Klasse1"}));
  EXPECT_EQ(project.component(1L).type(), kStandardModule);
  EXPECT_EQ(project.component(2L).type(), kDocumentModule);
  EXPECT_EQ(project.component(3L).type(), kClassModule);
  const HostComponent& module = project.component(1L);
  ASSERT_EQ(module.countOfLines(), 5);
  EXPECT_EQ(module.lines(1, 5), "Option Explicit\r\n\r\nSub Test()\r\n  Debug.Print \"Gr\xFC\xDF" "e\"\r\nEnd Sub");
  EXPECT_EQ(project.component(2L).lines(1, 2), "Private Sub Workbook_Open()\r\nEnd Sub");
}

// The reason the document could not be read; fails when it could.
std::string loadErrorOf(const fs::path& document) {
  const LoadedProject project = loadDocument(document);
  EXPECT_EQ(project.componentCount(), 0);
  EXPECT_NE(project.loadError(), "") << document;
  return project.loadError();
}

TEST(OfficeDocument, ReadsTheProjectOfEveryKindOfFile) {
  test::TempFolder temp;
  for (const test::OfficeSample& sample : test::officeSamples()) {
    expectSampleProject(temp.writeFile(sample.fileName, sample.bytes));
  }
  const StreamMap project = test::sampleProjectStreams();
  // What a file holds decides, not its extension.
  expectSampleProject(temp.writeFile("Projekt.doc", test::compoundFileBytes(project)));
  expectSampleProject(temp.writeFile("Mappe.XLAM", test::macroWorkbookBytes(project)));
  // Presentations keep the storage compressed, sometimes without the zlib check value, or as it is.
  expectSampleProject(temp.writeFile(
      "Ohne Pruefsumme.pps", test::presentationFileBytes(project, EmbeddedStorage::kCompressedWithoutChecksum)));
  expectSampleProject(
      temp.writeFile("Unverpackt.pot", test::presentationFileBytes(project, EmbeddedStorage::kUncompressed)));
  // Stream, storage and part names ignore case; the VBA part found by its default type.
  StreamMap otherCase;
  for (const auto& [path, bytes] : project) otherCase.emplace(toLowerAscii(path), bytes);
  expectSampleProject(temp.writeFile("Klein.xls", test::compoundFileBytes(test::belowStorage("_vba_project_cur", otherCase))));
  expectSampleProject(temp.writeFile(
      "Gross.docm", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/WORD/VBAPROJECT.BIN")},
                                           {"word/vbaProject.bin", test::compoundFileBytes(project)}})));
  const std::string byDefault =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>";
  expectSampleProject(temp.writeFile(
      "Vorgabe.pptm", test::zipPackageBytes({{"[Content_Types].xml", byDefault},
                                             {"ppt/vbaProject.bin", test::compoundFileBytes(project)}})));
}

TEST(OfficeDocument, DocumentsWithoutMacrosGiveAnEmptyProject) {
  test::TempFolder temp;
  const auto expectNoMacros = [&](const std::string& fileName, const std::string& bytes) {
    const LoadedProject project = loadDocument(temp.writeFile(fileName, bytes));
    EXPECT_EQ(project.loadError(), "") << fileName;
    EXPECT_EQ(project.componentCount(), 0) << fileName;
    EXPECT_EQ(project.name(), fs::path(fileName).stem().string());
  };
  expectNoMacros("Tabelle.xlsx", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("")},
                                                        {"xl/workbook.xml", "<workbook/>"}}));
  // Listed in the content types but missing from the package.
  expectNoMacros("Verloren.xlsm", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")}}));
  expectNoMacros("Alt.xls", test::compoundFileBytes({{"Workbook", std::string(700, 'w')}}));
  expectNoMacros("Alt.doc", test::compoundFileBytes({{"WordDocument", std::string(700, 'd')}}));
  expectNoMacros("Folien.ppt",
                 test::compoundFileBytes({{"PowerPoint Document",
                                           test::presentationStream(test::embeddedStorageRecord(
                                               test::compoundFileBytes({{"Contents", "x"}}), EmbeddedStorage::kCompressed))}}));
}

TEST(OfficeDocument, UnreadableFilesAreRefusedWithTheReason) {
  test::TempFolder temp;
  const StreamMap project = test::sampleProjectStreams();
  const std::string workbook = test::macroWorkbookBytes(project);
  const std::string compound = test::compoundFileBytes(test::belowStorage("_VBA_PROJECT_CUR", project));
  const auto errorFor = [&](const std::string& fileName, const std::string& bytes) {
    const fs::path file = temp.writeFile(fileName, bytes);
    const std::string error = loadErrorOf(file);
    EXPECT_NE(error.find("\"" + file.string() + "\""), std::string::npos) << error;
    return error;
  };
  const auto contains = [](const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  };

  EXPECT_TRUE(contains(errorFor("Kurz.xlsm", workbook.substr(0, workbook.size() * 2 / 3)), " ist abgeschnitten."));
  EXPECT_TRUE(contains(errorFor("Kurz.xls", compound.substr(0, compound.size() - 700)), " ist abgeschnitten."));
  EXPECT_TRUE(contains(errorFor("Geheim.xlsm", test::compoundFileBytes({{"EncryptionInfo", std::string(200, 'i')},
                                                                        {"EncryptedPackage", std::string(900, 'p')}})),
                       " ist verschl\xFCsselt"));
  EXPECT_TRUE(contains(errorFor("Text.xlsm", "Sub Test()\r\nEnd Sub\r\n"), " ist kein Office-Dokument."));
  EXPECT_TRUE(contains(errorFor("Leer.doc", ""), " ist kein Office-Dokument."));
  std::string noise(5000, '\0');
  unsigned state = 12345;
  for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
  EXPECT_TRUE(contains(errorFor("Rauschen.xls", noise), " ist kein Office-Dokument."));
  EXPECT_TRUE(contains(errorFor("Archiv.docm", test::zipPackageBytes({{"readme.txt", "hallo"}})), " ist kein Office-Dokument."));
  EXPECT_TRUE(contains(errorFor("Fremd.bin", test::compoundFileBytes({{"Contents", "x"}})), " enth\xE4lt kein VBA-Projekt."));
  EXPECT_TRUE(contains(errorFor("Kaputt.xlsm", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")},
                                                                       {"xl/vbaProject.bin", "kein OLE2"}})),
                       " ist besch\xE4" "digt: das VBA-Projekt \"xl/vbaProject.bin\""));
  EXPECT_TRUE(contains(errorFor("Kaputt.xlsx", test::zipPackageBytes({{"[Content_Types].xml", "<Types><Default"}})),
                       " ist besch\xE4" "digt"));
  // An embedded object that cannot be unpacked counts when no other one holds the project.
  std::string badRecord = test::embeddedStorageRecord(test::compoundFileBytes(project), EmbeddedStorage::kCompressed);
  badRecord[20] = static_cast<char>(badRecord[20] ^ 0x5A);
  EXPECT_TRUE(contains(errorFor("Kaputt.ppt", test::compoundFileBytes({{"PowerPoint Document", test::presentationStream(badRecord)}})),
                       "ein eingebettetes Objekt kann nicht entpackt werden"));
  // The loader itself throws nothing but HostError.
  EXPECT_THROW(loadOfficeDocument(temp.path() / "Kurz.xlsm"), HostError);
  EXPECT_THROW(loadOfficeDocument(temp.path() / "fehlt.xlsm"), HostError);
}

TEST(OfficeDocument, ContentTypesNameTheVbaPart) {
  const std::string xml =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"BIN\" ContentType=\"Application/vnd.ms-office.vbaProject\"/>"
      "<Override PartName=\"/xl/printerSettings1.bin\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings\"/>"
      "<Override PartName=\"/xl/vba%20Projekt.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
      "</Types>";
  const auto parts = vbaProjectParts(xml, {"xl/printerSettings1.bin", "xl/other.bin", "xl/vba Projekt.bin", "xl/a.xml"});
  ASSERT_TRUE(parts.has_value());
  EXPECT_EQ(*parts, (std::vector<std::string>{"xl/vba Projekt.bin", "xl/other.bin"}));
  EXPECT_FALSE(vbaProjectParts("<Types><Override PartName=\"/a\"", {}).has_value());
  EXPECT_EQ(vbaProjectParts("<Types/>", {"xl/vbaProject.bin"}), std::vector<std::string>{});
}

TEST(OfficeDocument, EmbeddedStoragesAreFoundAndUnpackedWithinBounds) {
  const std::string payload = std::string(3000, 'a') + "Ende";
  const auto records = [&](EmbeddedStorage form) {
    return embeddedStorageRecords(test::presentationStream(test::embeddedStorageRecord(payload, form)));
  };
  const OfficeFile file{"f.ppt"};
  for (const EmbeddedStorage form :
       {EmbeddedStorage::kCompressed, EmbeddedStorage::kCompressedWithoutChecksum, EmbeddedStorage::kUncompressed}) {
    const std::vector<EmbeddedStorageRecord> found = records(form);
    ASSERT_EQ(found.size(), 1u);
    std::size_t budget = 10000;
    EXPECT_EQ(embeddedStorageBytes(found[0], budget, file), payload);
    EXPECT_EQ(budget, 10000 - payload.size());
    std::size_t tooSmall = payload.size() - 1;
    EXPECT_THROW(embeddedStorageBytes(found[0], tooSmall, file), HostError);
  }
  // A record claiming more than its container holds ends the walk; other instances are no storages.
  std::string overlong = test::embeddedStorageRecord(payload, EmbeddedStorage::kUncompressed);
  overlong[4] = static_cast<char>(overlong[4] + 1);
  EXPECT_TRUE(embeddedStorageRecords(overlong).empty());
  EXPECT_TRUE(embeddedStorageRecords(test::presentationRecord(0, 2, 0x1011, "xxxx")).empty());
  EXPECT_TRUE(embeddedStorageRecords("\x0F\x00\xE8\x03").empty());

  // Inflating stops at the expected size and needs all of it.
  const std::string compressed = test::embeddedStorageRecord(payload, EmbeddedStorage::kCompressed).substr(12);
  EXPECT_EQ(inflateKnownSize(compressed, payload.size()), payload);
  EXPECT_EQ(inflateKnownSize(compressed, 100), payload.substr(0, 100));
  EXPECT_EQ(inflateKnownSize(compressed, payload.size() + 1), std::nullopt);
  EXPECT_EQ(inflateKnownSize(compressed.substr(0, compressed.size() / 2), payload.size()), std::nullopt);
  EXPECT_EQ(inflateKnownSize("no zlib data", 10), std::nullopt);
}

// Lines compared without trailing blanks and without empty lines at the start
// and the end (the stored code of a form may begin with one more empty line
// than its exported file); empty when the texts agree, else the first difference.
std::string codeDifference(const std::string& actual, const std::string& expected) {
  const auto comparableLines = [](const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
      line.erase(line.find_last_not_of(" \t\r") + 1);
      lines.push_back(line);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    lines.erase(lines.begin(), std::find_if(lines.begin(), lines.end(), [](const std::string& line) { return !line.empty(); }));
    return lines;
  };
  const std::vector<std::string> actualLines = comparableLines(actual);
  const std::vector<std::string> expectedLines = comparableLines(expected);
  for (std::size_t i = 0; i < std::max(actualLines.size(), expectedLines.size()); ++i) {
    const std::string got = i < actualLines.size() ? actualLines[i] : "(end)";
    const std::string want = i < expectedLines.size() ? expectedLines[i] : "(end)";
    if (got != want) return "line " + std::to_string(i + 1) + ": \"" + got + "\" instead of \"" + want + "\"";
  }
  return {};
}

std::string readFile(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), {});
}

bool isAccessDatabase(const fs::path& file) {
  const std::string extension = toLowerAscii(file.extension().string());
  return extension == ".mdb" || extension == ".accdb" || extension == ".accda";
}

TEST(OfficeDocument, CorpusDocumentsGiveTheirModulesAndCode) {
  CQ_SKIP_WITHOUT_CORPUS();
  QFile mappingFile(QString::fromStdString((test::corpusRoot() / "OFFICE_MAPPING.json").string()));
  ASSERT_TRUE(mappingFile.open(QIODevice::ReadOnly));
  const QJsonArray documents = QJsonDocument::fromJson(mappingFile.readAll()).array();
  ASSERT_FALSE(documents.isEmpty());
  for (const QJsonValue& entry : documents) {
    const QJsonObject document = entry.toObject();
    const fs::path file = test::corpusRoot() / document["office_file"].toString().toStdString();
    if (isAccessDatabase(file)) continue;  // read by the database loader
    SCOPED_TRACE(file.string());
    const LoadedProject project = loadDocument(file);
    const QJsonArray modules = document["modules"].toArray();
    EXPECT_EQ(project.loadError(), "");
    EXPECT_EQ(project.componentCount(), modules.size());
    if (project.componentCount() != modules.size()) continue;
    int matched = 0;
    for (long index = 1; index <= project.componentCount(); ++index) {
      const QJsonObject module = modules[index - 1].toObject();
      const HostComponent& component = project.component(index);
      EXPECT_EQ(component.name(), utf8ToWindows1252(module["module"].toString().toStdString()).text);
      EXPECT_EQ(component.type() == kStandardModule, module["type"].toString() == "std") << component.name();
      if (module["status"].toString() != "identical code") continue;
      const std::string exported = decodeSourceText(readFile(test::corpusRoot() / module["file"].toString().toStdString())).text;
      const ModuleCode expected(splitModuleFile(exported).code);
      EXPECT_EQ(codeDifference(component.lines(1, component.countOfLines()), expected.lines(1, expected.countOfLines())), "")
          << component.name();
      ++matched;
    }
    std::cout << "[ office   ] " << document["office_file"].toString().toStdString() << ": "
              << project.componentCount() << " modules, " << matched << " matched\n";
  }
}

}  // namespace
}  // namespace cq
