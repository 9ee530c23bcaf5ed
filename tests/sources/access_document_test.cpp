#include "sources/access/access_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "sources/access/access_project_storage.h"
#include "sources/access/access_storage_tree.h"
#include "sources/source_file.h"
#include "support/corpus.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

constexpr char kAccessDatabase[] = "AccessCodeLib__AccUnit/access-add-in/AccUnitLoader.accda";

AccessStorageEntry storage(long id, long parentId, std::string name) { return {id, parentId, std::move(name), false}; }
AccessStorageEntry stream(long id, long parentId, std::string name) { return {id, parentId, std::move(name), true}; }

// A project of one module as Access lays it out: a self-parented scratch storage, other objects beside VBA.
std::vector<AccessStorageEntry> projectRows() {
  return {storage(1, 1, "MSysAccessStorage_ROOT"), storage(2, 2, "MSysAccessStorage_SCRATCH"),
          storage(4, 1, "Forms"), stream(5, 4, "dir"), storage(8, 1, "VBA"), stream(9, 8, "AcessVBAData"),
          storage(17, 8, "VBAProject"), storage(18, 17, "VBA"), stream(20, 18, "dir"), stream(21, 18, "ABCDEF"),
          stream(22, 17, "PROJECT")};
}

// The stream paths found in `rows`, "-" for no project, or the Failed message.
std::string projectStreams(const std::vector<AccessStorageEntry>& rows) {
  try {
    const auto streams = findVbaProjectStreams(rows, "/x/db.accdb");
    if (!streams) return "-";
    std::string paths;
    for (const AccessProjectStream& each : *streams) paths += each.path + "#" + std::to_string(each.id) + " ";
    return paths;
  } catch (const Failed& error) {
    return error.what();
  }
}

TEST(AccessStorageTree, FindsTheProjectStreamsBelowTheRootAndRefusesRowsThatFormNoTree) {
  EXPECT_EQ(projectStreams(projectRows()), "VBA/dir#20 VBA/ABCDEF#21 PROJECT#22 ");
  // Names ignore case; a root without the usual name is found by having no parent.
  EXPECT_EQ(projectStreams({storage(7, 99, "W"), storage(3, 7, "vba"), storage(4, 3, "vbaproject"),
                            stream(5, 4, "Project")}),
            "Project#5 ");
  const AccessStorageEntry root = storage(1, 1, "MSysAccessStorage_ROOT");
  // A storage named like the project elsewhere in the tree is no project.
  EXPECT_EQ(projectStreams({root, storage(4, 1, "Forms"), storage(5, 4, "VBA"), storage(6, 5, "VBAProject"),
                            stream(7, 6, "dir")}),
            "-");
  EXPECT_EQ(projectStreams({root, storage(8, 1, "VBA")}) + projectStreams({}), "--");
  std::vector<AccessStorageEntry> duplicate = projectRows();
  std::vector<AccessStorageEntry> deep = {root, storage(8, 1, "VBA"), storage(17, 8, "VBAProject")};
  duplicate.push_back(stream(21, 17, "PROJECTwm"));
  for (long id = 100; id < 140; ++id) deep.push_back(storage(id, id == 100 ? 17 : id - 1, "S"));
  // The root hanging below the project it holds must not make the descent run in circles.
  const std::vector<AccessStorageEntry> ring = {storage(1, 17, "MSysAccessStorage_ROOT"), storage(8, 1, "VBA"),
                                                storage(17, 8, "VBAProject"), stream(20, 17, "dir")};
  for (const auto& [rows, part] :
       {std::pair{duplicate, "/x/db.accdb"}, {duplicate, "21"}, {ring, "Ring"}, {deep, "zu tief"}}) {
    EXPECT_NE(projectStreams(rows).find(part), std::string::npos) << projectStreams(rows);
  }
  AccessProjectStorage streams;  // looks streams up ignoring case, and the first of a path wins
  streams.addStream("VBA/dir", "first");
  streams.addStream("vba/DIR", "second");
  streams.addStream("PROJECT", "");
  EXPECT_EQ(streams.stream("Vba/Dir"), std::optional<std::string>("first"));
  EXPECT_EQ(streams.stream("project"), std::optional<std::string>(""));
  EXPECT_EQ(streams.stream("dir"), std::nullopt);
}

std::string loadError(const fs::path& file) {
  try {
    loadAccessDatabase(file);
  } catch (const Failed& error) {
    return error.what();
  }
  return {};
}

TEST(AccessDocument, RefusesFilesThatAreNoReadableDatabases) {
  test::TempFolder temp;
  const std::string textError = loadError(temp.writeFile("Notizen.accdb", "Dies ist keine Datenbank.\r\n"));
  EXPECT_NE(textError.find("Notizen.accdb\" ist keine Access-Datenbank oder beschädigt"), std::string::npos)
      << textError;
  std::string fakeHeader(8192, '\0');  // the right signature on a first page full of nothing
  fakeHeader.replace(4, 15, "Standard ACE DB");
  EXPECT_NE(loadError(temp.writeFile("Leer.accdb", fakeHeader)).find("ist keine Access-Datenbank"), std::string::npos);
  EXPECT_FALSE(loadError(temp.path() / "fehlt.mdb").empty() || loadError(temp.path()).empty());
  for (const char* compiled : {"Anwendung.mde", "Anwendung.ACCDE"}) {
    const std::string error = loadError(temp.writeFile(compiled, fakeHeader));
    EXPECT_NE(error.find("enthält keinen Quellcode (kompilierte Datenbank)"), std::string::npos) << error;
    EXPECT_NE(error.find(compiled), std::string::npos) << error;
  }
}

fs::path corpusDatabase() {
  const fs::path corpus = test::corpusRoot();
  return corpus.empty() || !fs::is_regular_file(corpus / kAccessDatabase) ? fs::path() : corpus / kAccessDatabase;
}

#define CQ_SKIP_WITHOUT_DATABASE() \
  if (corpusDatabase().empty()) GTEST_SKIP() << "corpus database not present"

TEST(AccessDocument, DatabasesWithoutStorageTable) {
  CQ_SKIP_WITHOUT_DATABASE();
  test::TempFolder temp;
  // The database with its storage table renamed in the catalog (UTF-16, same length).
  const auto utf16 = [](std::string_view ascii) {
    std::string text;
    for (char c : ascii) text += {c, '\0'};
    return text;
  };
  const auto renamed = [&, original = readSourceFile(corpusDatabase())](std::string_view newName) {
    std::string database = original;
    for (std::size_t at = 0; (at = database.find(utf16("MSysAccessStorage"), at)) != std::string::npos;) {
      database.replace(at, 34, utf16(newName));
    }
    return database;
  };
  // Only the tables of Access 97: refused, as its project is kept elsewhere.
  const std::string error = loadError(temp.writeFile("Alt.mdb", renamed("MSysAccessObjects")));
  EXPECT_NE(error.find("Access-97-Datenbanken werden nicht unterstützt"), std::string::npos) << error;
  EXPECT_NE(error.find("Alt.mdb"), std::string::npos) << error;
  // Neither table: a database of data only, a project without modules.
  const LoadedProject project = loadAccessDatabase(temp.writeFile("Daten.accdb", renamed("MSysAccessXtorage")));
  EXPECT_EQ(project.componentCount(), 0);
  EXPECT_EQ(project.name() + project.loadError(), "Daten");
}

TEST(AccessDocument, DamagedCopiesOfTheCorpusDatabaseNeverCrash) {
  CQ_SKIP_WITHOUT_DATABASE();
  const std::string original = readSourceFile(corpusDatabase());
  test::TempFolder temp;
  int copy = 0;
  const auto load = [&](const std::string& bytes, bool mustBeRefused) {
    const std::string name = "Kopie" + std::to_string(++copy) + ".accda";
    try {
      const LoadedProject project = loadAccessDatabase(temp.writeFile(name, bytes));
      EXPECT_FALSE(mustBeRefused) << name;
      EXPECT_LE(project.componentCount(), 38) << name;
    } catch (const Failed& error) {
      EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
    }
  };
  // Copies cut before the project's last pages must be refused, also where whole
  // pages of the catalog or of the storage table are missing; cuts near the end
  // only remove pages the project does not use.
  for (std::size_t length : {std::size_t{0}, std::size_t{20}, std::size_t{2048}, std::size_t{4096},
                             std::size_t{3 * 4096 + 7}, std::size_t{100 * 1024}, std::size_t{400000},
                             original.size() / 4, original.size() / 2, std::size_t{885000}}) {
    load(original.substr(0, length), true);
  }
  for (std::size_t length : {original.size() - 4096, original.size() - 1}) load(original.substr(0, length), false);
  // Bit flips, half scattered over the file, half packed into one page so that a page the reader uses is hit hard.
  std::mt19937 random(20240517);
  for (int i = 0; i < 48; ++i) {
    std::string mutant = original;
    const std::size_t page = random() % (mutant.size() / 4096) * 4096;
    for (int flip = 0, flips = 1 + random() % 24; flip < flips; ++flip) {
      const std::size_t at = i % 2 == 0 ? random() % mutant.size() : page + random() % 4096;
      mutant[at] = static_cast<char>(mutant[at] ^ (1 << random() % 8));
    }
    load(mutant, false);
  }
}

}  // namespace
}  // namespace cq
