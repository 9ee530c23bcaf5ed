#include "projects/office/access_document.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "projects/module_file.h"
#include "projects/office/access_project_storage.h"
#include "projects/office/access_storage_tree.h"
#include "projects/source_file.h"
#include "projects/text_decoding.h"
#include "support/corpus.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

constexpr char kAccessDatabase[] = "AccessCodeLib__AccUnit/access-add-in/AccUnitLoader.accda";

AccessStorageEntry storage(long id, long parentId, std::string name) { return {id, parentId, std::move(name), false}; }
AccessStorageEntry stream(long id, long parentId, std::string name) { return {id, parentId, std::move(name), true}; }

// The rows of a database whose project holds one module, laid out as Access
// does it: a second self-parented scratch storage, other objects beside VBA.
std::vector<AccessStorageEntry> projectRows() {
  return {storage(1, 1, "MSysAccessStorage_ROOT"), storage(2, 2, "MSysAccessStorage_SCRATCH"),
          storage(4, 1, "Forms"), stream(5, 4, "dir"),
          storage(8, 1, "VBA"), stream(9, 8, "AcessVBAData"),
          storage(17, 8, "VBAProject"), storage(18, 17, "VBA"),
          stream(20, 18, "dir"), stream(21, 18, "ABCDEF"), stream(22, 17, "PROJECT")};
}

std::vector<std::string> streamPaths(const std::vector<AccessProjectStream>& streams) {
  std::vector<std::string> paths;
  for (const AccessProjectStream& each : streams) paths.push_back(each.path);
  return paths;
}

std::string hostErrorOf(const std::vector<AccessStorageEntry>& rows) {
  try {
    findVbaProjectStreams(rows, "/x/db.accdb");
  } catch (const HostError& error) {
    return error.what();
  }
  return {};
}

TEST(AccessStorageTree, FindsTheProjectStreamsBelowTheRoot) {
  const auto streams = findVbaProjectStreams(projectRows(), "/x/db.accdb");
  ASSERT_TRUE(streams.has_value());
  EXPECT_EQ(streamPaths(*streams), (std::vector<std::string>{"VBA/dir", "VBA/ABCDEF", "PROJECT"}));
  EXPECT_EQ(streams->front().id, 20);

  // Names ignore case; a root without the usual name is found by having no parent.
  std::vector<AccessStorageEntry> rows = {storage(7, 99, "Wurzel"), storage(3, 7, "vba"),
                                          storage(4, 3, "vbaproject"), stream(5, 4, "Project")};
  const auto orphanRooted = findVbaProjectStreams(rows, "/x/db.accdb");
  ASSERT_TRUE(orphanRooted.has_value());
  EXPECT_EQ(streamPaths(*orphanRooted), std::vector<std::string>{"Project"});

  // A storage named like the project elsewhere in the tree is no project.
  EXPECT_FALSE(findVbaProjectStreams({storage(1, 1, "MSysAccessStorage_ROOT"), storage(4, 1, "Forms"),
                                      storage(5, 4, "VBA"), storage(6, 5, "VBAProject"), stream(7, 6, "dir")},
                                     "/x/db.accdb")
                   .has_value());
  EXPECT_FALSE(findVbaProjectStreams({storage(1, 1, "MSysAccessStorage_ROOT"), storage(8, 1, "VBA")}, "/x/db.accdb")
                   .has_value());
  EXPECT_FALSE(findVbaProjectStreams({}, "/x/db.accdb").has_value());
}

TEST(AccessStorageTree, RefusesRowsThatFormNoTree) {
  std::vector<AccessStorageEntry> duplicate = projectRows();
  duplicate.push_back(stream(21, 17, "PROJECTwm"));
  EXPECT_NE(hostErrorOf(duplicate).find("/x/db.accdb"), std::string::npos);
  EXPECT_NE(hostErrorOf(duplicate).find("21"), std::string::npos);

  // The root hangs below the project it holds: descending must not run in circles.
  const std::vector<AccessStorageEntry> ring = {storage(1, 17, "MSysAccessStorage_ROOT"), storage(8, 1, "VBA"),
                                                storage(17, 8, "VBAProject"), stream(20, 17, "dir")};
  EXPECT_NE(hostErrorOf(ring).find("Ring"), std::string::npos);

  std::vector<AccessStorageEntry> deep = {storage(1, 1, "MSysAccessStorage_ROOT"), storage(8, 1, "VBA"),
                                          storage(17, 8, "VBAProject")};
  for (long id = 100; id < 140; ++id) deep.push_back(storage(id, id == 100 ? 17 : id - 1, "S"));
  EXPECT_NE(hostErrorOf(deep).find("zu tief"), std::string::npos);
}

TEST(AccessProjectStorage, LooksStreamsUpIgnoringCaseAndKeepsTheFirst) {
  AccessProjectStorage storage;
  storage.addStream("VBA/dir", "first");
  storage.addStream("vba/DIR", "second");
  storage.addStream("PROJECT", "");
  EXPECT_EQ(storage.stream("Vba/Dir"), std::optional<std::string>("first"));
  EXPECT_EQ(storage.stream("project"), std::optional<std::string>(""));
  EXPECT_EQ(storage.stream("VBA/Module1"), std::nullopt);
  EXPECT_EQ(storage.stream("dir"), std::nullopt);
}

std::string loadError(const fs::path& file) {
  try {
    loadAccessDatabase(file);
  } catch (const HostError& error) {
    return error.what();
  }
  return {};
}

TEST(AccessDocument, RefusesFilesThatAreNoReadableDatabases) {
  test::TempFolder temp;
  const fs::path text = temp.writeFile("Notizen.accdb", "Dies ist keine Datenbank.\r\n");
  const std::string textError = loadError(text);
  EXPECT_NE(textError.find("ist keine Access-Datenbank oder besch\xE4" "digt"), std::string::npos) << textError;
  EXPECT_NE(textError.find("Notizen.accdb"), std::string::npos) << textError;

  // The right signature on a first page full of nothing.
  std::string fakeHeader(8192, '\0');
  fakeHeader.replace(4, 15, "Standard ACE DB");
  EXPECT_NE(loadError(temp.writeFile("Leer.accdb", fakeHeader)).find("ist keine Access-Datenbank"), std::string::npos);
  EXPECT_FALSE(loadError(temp.path() / "fehlt.mdb").empty());
  EXPECT_FALSE(loadError(temp.path()).empty());

  for (const char* compiled : {"Anwendung.mde", "Anwendung.ACCDE"}) {
    const std::string error = loadError(temp.writeFile(compiled, fakeHeader));
    EXPECT_NE(error.find("enth\xE4" "lt keinen Quellcode (kompilierte Datenbank)"), std::string::npos) << error;
    EXPECT_NE(error.find(compiled), std::string::npos) << error;
  }
}

std::vector<std::string> visibleLines(std::string_view code) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= code.size()) {
    const std::size_t end = std::min(code.find("\r\n", start), code.size());
    std::string line(code.substr(start, end - start));
    line.erase(line.find_last_not_of(" \t") + 1);
    lines.push_back(std::move(line));
    start = end + 2;
  }
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

std::vector<std::string> visibleLines(const HostComponent& component) {
  return visibleLines(component.lines(1, component.countOfLines()));
}

// The modules of the database in the order of its project, as the mapping of the
// corpus lists them with the exported file holding each one's code.
QJsonArray mappedModules(const fs::path& corpus) {
  QFile mapping(QString::fromStdString((corpus / "OFFICE_MAPPING.json").string()));
  if (!mapping.open(QIODevice::ReadOnly)) return {};
  for (const QJsonValue& office : QJsonDocument::fromJson(mapping.readAll()).array()) {
    if (office["office_file"].toString() == kAccessDatabase) return office["modules"].toArray();
  }
  return {};
}

fs::path corpusDatabase() {
  const fs::path corpus = test::corpusRoot();
  if (corpus.empty() || !fs::is_regular_file(corpus / kAccessDatabase)) return {};
  return corpus / kAccessDatabase;
}

TEST(AccessDocument, ReadsEveryModuleOfTheCorpusDatabase) {
  const fs::path database = corpusDatabase();
  if (database.empty()) GTEST_SKIP() << "corpus database not present";
  const QJsonArray modules = mappedModules(test::corpusRoot());
  ASSERT_EQ(modules.size(), 38);

  const LoadedProject project = loadAccessDatabase(database);
  EXPECT_EQ(project.fileName(), database.string());
  EXPECT_FALSE(project.name().empty());
  EXPECT_FALSE(project.protection());
  EXPECT_TRUE(project.loadError().empty());
  ASSERT_EQ(project.componentCount(), 38);
  for (qsizetype i = 0; i < modules.size(); ++i) {
    const QJsonObject mapped = modules[i].toObject();
    const HostComponent& component = project.component(static_cast<long>(i) + 1);
    const std::string name = mapped["module"].toString().toStdString();
    ASSERT_EQ(component.name(), name);
    // Access lists its form and report modules as "DocClass=" in the PROJECT stream.
    const bool formOrReport = name.rfind("Form_", 0) == 0 || name.rfind("Report_", 0) == 0;
    const bool standard = mapped["type"].toString() == "std";
    EXPECT_EQ(component.type(), standard ? kStandardModule : formOrReport ? kDocumentModule : kClassModule) << name;
    EXPECT_GT(component.countOfLines(), 0) << name;
    EXPECT_EQ(component.replacedCharacters(), 0u) << name;

    const DecodedText exported =
        decodeSourceText(readSourceFile(test::corpusRoot() / mapped["file"].toString().toStdString()));
    const ModuleCode exportedCode(splitModuleFile(exported.text).code);
    EXPECT_EQ(visibleLines(component), visibleLines(exportedCode.lines(1, exportedCode.countOfLines()))) << name;
  }
  // The umlauts of the form's code arrive as Windows-1252 bytes.
  const std::string formCode = project.component("Form_AccUnitLoaderForm").lines(1, 1000);
  EXPECT_NE(formCode.find_first_of("\xE4\xF6\xFC\xC4\xD6\xDC\xDF"), std::string::npos);
}

// The database with its storage table renamed in the catalog (the name is
// stored as UTF-16; the new one has the same length).
std::string withStorageTableRenamed(std::string database, std::string_view newName) {
  const auto utf16 = [](std::string_view ascii) {
    std::string text;
    for (char c : ascii) text += {c, '\0'};
    return text;
  };
  const std::string from = utf16("MSysAccessStorage");
  const std::string to = utf16(newName);
  for (std::size_t at = database.find(from); at != std::string::npos; at = database.find(from, at)) {
    database.replace(at, from.size(), to);
  }
  return database;
}

TEST(AccessDocument, DatabasesWithoutStorageTable) {
  const fs::path database = corpusDatabase();
  if (database.empty()) GTEST_SKIP() << "corpus database not present";
  const std::string original = readSourceFile(database);
  test::TempFolder temp;

  // Only the tables of Access 97: refused, as its project is kept elsewhere.
  const fs::path access97 = temp.writeFile("Alt.mdb", withStorageTableRenamed(original, "MSysAccessObjects"));
  const std::string error = loadError(access97);
  EXPECT_NE(error.find("Access-97-Datenbanken werden nicht unterst\xFC" "tzt"), std::string::npos) << error;
  EXPECT_NE(error.find("Alt.mdb"), std::string::npos) << error;

  // Neither table: a database of data only, a project without modules.
  const fs::path dataOnly = temp.writeFile("Daten.accdb", withStorageTableRenamed(original, "MSysAccessXtorage"));
  const LoadedProject project = loadAccessDatabase(dataOnly);
  EXPECT_EQ(project.componentCount(), 0);
  EXPECT_EQ(project.name(), "Daten");
  EXPECT_EQ(project.fileName(), dataOnly.string());
  EXPECT_TRUE(project.loadError().empty());
}

TEST(AccessDocument, DamagedCopiesOfTheCorpusDatabaseNeverCrash) {
  const fs::path database = corpusDatabase();
  if (database.empty()) GTEST_SKIP() << "corpus database not present";
  const std::string original = readSourceFile(database);
  test::TempFolder temp;

  // Copies cut before the project's last pages must be refused; the cuts near
  // the end only remove pages the project does not use.
  struct Mutant {
    std::string bytes;
    bool refused;
  };
  std::vector<Mutant> mutants;
  for (std::size_t length : {std::size_t{0}, std::size_t{20}, std::size_t{2048}, std::size_t{4096},
                             std::size_t{3 * 4096 + 7}, original.size() / 4, original.size() / 2}) {
    mutants.push_back({original.substr(0, length), true});
  }
  for (std::size_t length : {original.size() - 4096, original.size() - 1}) {
    mutants.push_back({original.substr(0, length), false});
  }
  std::mt19937 random(20240517);
  const auto position = [&](std::size_t size) {
    return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
  };
  for (int i = 0; i < 48; ++i) {
    std::string mutant = original;
    // Half of them scattered over the file, half packed into one page so that
    // a page the reader does use is hit hard.
    const std::size_t page = position(mutant.size() / 4096) * 4096;
    const int flips = 1 + static_cast<int>(position(24));
    for (int flip = 0; flip < flips; ++flip) {
      const std::size_t at = i % 2 == 0 ? position(mutant.size()) : page + position(4096);
      mutant[at] = static_cast<char>(mutant[at] ^ (1 << position(8)));
    }
    mutants.push_back({std::move(mutant), false});
  }

  for (std::size_t i = 0; i < mutants.size(); ++i) {
    const std::string name = "Kopie" + std::to_string(i) + ".accda";
    const fs::path copy = temp.writeFile(name, mutants[i].bytes);
    try {
      const LoadedProject project = loadAccessDatabase(copy);
      EXPECT_FALSE(mutants[i].refused) << name;
      EXPECT_LE(project.componentCount(), 38) << name;
    } catch (const HostError& error) {
      EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace cq
