#include "projects/office/office_document.h"

#include <gtest/gtest.h>

#include "projects/office/gsf_handles.h"  // the GLib headers before Qt's keyword macros
#include "projects/office/ole_vba_storage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <sstream>

#include "projects/ascii_case.h"
#include "projects/document_loader.h"
#include "projects/module_file.h"
#include "projects/office/content_types.h"
#include "projects/office/powerpoint_records.h"
#include "projects/office/zlib_inflate.h"
#include "projects/source_file.h"
#include "projects/text_decoding.h"
#include "projects/vba/dir_stream.h"
#include "projects/vba/ovba_compression.h"
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
    ASSERT_EQ(loaded.componentCount(), 3);
    const std::pair<std::string, int> expected[] = {
        {"Modul1", kStandardModule}, {"DieseArbeitsmappe", kDocumentModule}, {"Klasse1", kClassModule}};
    for (long i = 1; i <= 3; ++i) {
      EXPECT_EQ(loaded.component(i).name(), expected[i - 1].first);
      EXPECT_EQ(loaded.component(i).type(), expected[i - 1].second);
    }
    ASSERT_EQ(loaded.component(1L).countOfLines(), 5);
    EXPECT_EQ(loaded.component(1L).lines(1, 5),
              "Option Explicit\r\n\r\nSub Test()\r\n  Debug.Print \"Gr\xFC\xDF" "e\"\r\nEnd Sub");
    EXPECT_EQ(loaded.component(2L).lines(1, 2), "Private Sub Workbook_Open()\r\nEnd Sub");
  }
}

TEST(OfficeDocument, DocumentsWithoutMacrosGiveAnEmptyProject) {
  test::TempFolder temp;
  const std::string emptyEmbedded =
      test::embeddedStorageRecord(test::compoundFileBytes({{"Contents", "x"}}), EmbeddedStorage::kCompressed);
  const std::vector<test::OfficeSample> files = {
      {"Tabelle.xlsx",
       test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("")}, {"xl/workbook.xml", "<workbook/>"}})},
      // Listed in the content types but missing from the package.
      {"Verloren.xlsm", test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")}})},
      {"Alt.xls", test::compoundFileBytes({{"Workbook", std::string(700, 'w')}})},
      {"Alt.doc", test::compoundFileBytes({{"WordDocument", std::string(700, 'd')}})},
      {"Folien.ppt", test::compoundFileBytes({{"PowerPoint Document", test::presentationStream(emptyEmbedded)}})},
  };
  for (const auto& [fileName, bytes] : files) {
    const LoadedProject project = loadDocument(temp.writeFile(fileName, bytes));
    EXPECT_EQ(project.loadError(), "") << fileName;
    EXPECT_EQ(project.componentCount(), 0) << fileName;
    EXPECT_EQ(project.name(), fs::path(fileName).stem().string());
  }
}

TEST(OfficeDocument, UnreadableFilesAreRefusedWithTheReason) {
  test::TempFolder temp;
  const StreamMap project = test::sampleProjectStreams();
  const std::string workbook = test::macroWorkbookBytes(project);
  const std::string compound = test::compoundFileBytes(test::belowStorage("_VBA_PROJECT_CUR", project));
  std::string noise(5000, '\0');
  unsigned state = 12345;
  for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
  // An embedded object that cannot be unpacked counts when no other one holds the project.
  std::string badRecord = test::embeddedStorageRecord(test::compoundFileBytes(project), EmbeddedStorage::kCompressed);
  badRecord[20] = static_cast<char>(badRecord[20] ^ 0x5A);
  const std::string notOffice = " ist kein Office-Dokument.";
  const std::vector<std::array<std::string, 3>> cases = {
      {"Kurz.xlsm", workbook.substr(0, workbook.size() * 2 / 3), " ist abgeschnitten."},
      {"Kurz.xls", compound.substr(0, compound.size() - 700), " ist abgeschnitten."},
      {"Geheim.xlsm",
       test::compoundFileBytes({{"EncryptionInfo", std::string(200, 'i')}, {"EncryptedPackage", std::string(900, 'p')}}),
       " ist verschl\xFCsselt"},
      {"Text.xlsm", "Sub Test()\r\nEnd Sub\r\n", notOffice},
      {"Leer.doc", "", notOffice},
      {"Rauschen.xls", noise, notOffice},
      {"Archiv.docm", test::zipPackageBytes({{"readme.txt", "hallo"}}), notOffice},
      {"Fremd.bin", test::compoundFileBytes({{"Contents", "x"}}), " enth\xE4lt kein VBA-Projekt."},
      {"Kaputt.xlsm",
       test::zipPackageBytes({{"[Content_Types].xml", test::contentTypesXml("/xl/vbaProject.bin")},
                              {"xl/vbaProject.bin", "kein OLE2"}}),
       " ist besch\xE4" "digt: das VBA-Projekt \"xl/vbaProject.bin\""},
      {"Kaputt.xlsx", test::zipPackageBytes({{"[Content_Types].xml", "<Types><Default"}}), " ist besch\xE4" "digt"},
      {"Kaputt.ppt", test::compoundFileBytes({{"PowerPoint Document", test::presentationStream(badRecord)}}),
       "ein eingebettetes Objekt kann nicht entpackt werden"},
  };
  for (const auto& [fileName, bytes, reason] : cases) {
    const fs::path file = temp.writeFile(fileName, bytes);
    const LoadedProject loaded = loadDocument(file);
    EXPECT_EQ(loaded.componentCount(), 0) << fileName;
    EXPECT_NE(loaded.loadError().find("\"" + file.string() + "\""), std::string::npos) << loaded.loadError();
    EXPECT_NE(loaded.loadError().find(reason), std::string::npos) << loaded.loadError();
  }
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
  for (const EmbeddedStorage form :
       {EmbeddedStorage::kCompressed, EmbeddedStorage::kCompressedWithoutChecksum, EmbeddedStorage::kUncompressed}) {
    const auto found = embeddedStorageRecords(test::presentationStream(test::embeddedStorageRecord(payload, form)));
    ASSERT_EQ(found.size(), 1u);
    std::size_t budget = 10000, tooSmall = payload.size() - 1;
    EXPECT_EQ(embeddedStorageBytes(found[0], budget, OfficeFile{"f.ppt"}), payload);
    EXPECT_EQ(budget, 10000 - payload.size());
    EXPECT_THROW(embeddedStorageBytes(found[0], tooSmall, OfficeFile{"f.ppt"}), HostError);
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

TEST(OfficeDocument, CorpusDocumentsGiveTheirModulesAndCode) {
  CQ_SKIP_WITHOUT_CORPUS();
  QFile mappingFile(QString::fromStdString((test::corpusRoot() / "OFFICE_MAPPING.json").string()));
  ASSERT_TRUE(mappingFile.open(QIODevice::ReadOnly));
  const QJsonArray documents = QJsonDocument::fromJson(mappingFile.readAll()).array();
  ASSERT_FALSE(documents.isEmpty());
  ensureGsfInitialized();
  for (const QJsonValue& entry : documents) {
    const QJsonObject document = entry.toObject();
    const fs::path file = test::corpusRoot() / document["office_file"].toString().toStdString();
    const std::string extension = toLowerAscii(file.extension().string());
    if (extension == ".mdb" || extension == ".accdb" || extension == ".accda") continue;  // the database loader's
    SCOPED_TRACE(file.string());
    if (extension == ".bin") {  // the code page the dir stream names (1252 and Mac Roman 10000 here)
      const GsfInputHandle input(gsf_input_stdio_new(file.c_str(), nullptr));
      const OleVbaStorage storage(GsfInfileHandle(gsf_infile_msole_new(input.get(), nullptr)), OfficeFile{file.string()});
      EXPECT_EQ(parseDirStream(*decompressOvba(*storage.stream("VBA/dir"), 1u << 26)).codePage,
                document["codepage"].toArray().first().toInt());
    }
    const LoadedProject project = loadDocument(file);
    const QJsonArray modules = document["modules"].toArray();
    EXPECT_EQ(project.loadError(), "");
    EXPECT_FALSE(project.protection());  // every corpus project's visibility state decodes as visible
    ASSERT_EQ(project.componentCount(), modules.size());
    for (long index = 1; index <= project.componentCount(); ++index) {
      const QJsonObject module = modules[index - 1].toObject();
      const HostComponent& component = project.component(index);
      EXPECT_EQ(component.name(), utf8ToWindows1252(module["module"].toString().toStdString()).text);
      EXPECT_EQ(component.type() == kStandardModule, module["type"].toString() == "std") << component.name();
      // The recorded count includes the hidden attribute lines; none for a zero-filled source part.
      EXPECT_LE(component.countOfLines(), module["lines"].toInt()) << component.name();
      if (module["status"].toString() != "identical code") continue;
      const std::string exported = decodeSourceText(readSourceFile(test::corpusRoot() / module["file"].toString().toStdString())).text;
      const ModuleCode expected(splitModuleFile(exported).code);
      EXPECT_EQ(comparableLines(component.lines(1, component.countOfLines())),
                comparableLines(expected.lines(1, expected.countOfLines())))
          << component.name();
    }
  }
}

}  // namespace
}  // namespace cq
