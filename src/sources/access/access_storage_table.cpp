#include "sources/access/access_storage_table.h"

// mdbtools expects the glib types to be declared first.
#include <glib.h>
#include <mdbtools.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <string_view>
#include <system_error>

#include "text/ascii_case.h"
#include "sources/host_application.h"
#include "text/path_text.h"
#include "text/text_decoding.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr char kStorageTable[] = "MSysAccessStorage";
// Where Access 97 kept its objects; its VBA project is stored differently.
constexpr char kAccess97Table[] = "MSysAccessObjects";
// The catalog of every object in the database always starts on this page.
constexpr char kCatalogTable[] = "MSysObjects";
constexpr unsigned long kCatalogPage = 2;
constexpr long kTableObject = 1;
constexpr long kObjectPageMask = 0x00FFFFFF;

// Bounds that no real database comes near; a damaged one must not make us
// read without end. Streams are stored uncompressed, so together they never
// exceed the file.
constexpr std::size_t kMaxRows = 1'000'000;
constexpr std::size_t kMaxStreamBytes = std::size_t{256} << 20;
// A long value's header: its length in the low 30 bits, the kind of storage in the top two.
constexpr std::uint32_t kLongValueLengthMask = 0x3FFFFFFF;
constexpr std::size_t kMinimumPageSize = 2048;

constexpr long kStorageType = 1;
constexpr long kStreamType = 2;

[[noreturn]] void throwNotAnAccessDatabase(const std::string& fileName) {
  throw Failed("Die Datei \"" + fileName + "\" ist keine Access-Datenbank oder beschädigt.");
}

[[noreturn]] void throwDamaged(const std::string& fileName, const std::string& reason) {
  throw Failed("Die Access-Datenbank \"" + fileName + "\" ist beschädigt: " + reason + ".");
}

// Checks the file's first page before mdbtools sees it, so that an arbitrary
// file (a text file with the wrong extension) is refused without more ado.
// Returns the file's size.
std::uintmax_t checkDatabaseHeader(const fs::path& database, const std::string& fileName) {
  std::error_code error;
  if (!fs::is_regular_file(database, error)) throwNotAnAccessDatabase(fileName);
  const std::uintmax_t size = fs::file_size(database, error);
  if (error || size < kMinimumPageSize) throwNotAnAccessDatabase(fileName);
  std::array<char, 20> header{};
  std::ifstream in(database, std::ios::binary);
  if (!in.read(header.data(), header.size())) throwNotAnAccessDatabase(fileName);
  const std::string_view signature(header.data() + 4, 15);
  if (signature != "Standard Jet DB" && signature != "Standard ACE DB") throwNotAnAccessDatabase(fileName);
  return size;
}

std::optional<long> parseNumber(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

struct HandleCloser {
  void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
using DatabaseHandle = std::unique_ptr<MdbHandle, HandleCloser>;

// A column bound to its own buffer; mdbtools fills it on every fetched row.
struct BoundColumn {
  MdbColumn* column = nullptr;
  std::vector<char> buffer;
  std::string_view text() const { return {buffer.data(), strnlen(buffer.data(), buffer.size())}; }
};

enum class RowWalk { Complete, TooManyRows, RowsMissing };

// One table of the database, read row by row into buffers bound to its columns.
// The table is located by its definition page, so mdbtools' own catalog reader
// is never used: it dumps damaged property data to standard output.
class BoundTable {
 public:
  BoundTable(MdbHandle* handle, const char* name, unsigned long page) : handle_(handle) {
    entry_.mdb = handle;
    std::snprintf(entry_.object_name, sizeof entry_.object_name, "%s", name);
    entry_.object_type = MDB_TABLE;
    entry_.table_pg = page;
    table_.reset(mdb_read_table(&entry_));
    if (table_ && !mdb_read_columns(table_.get())) table_.reset();
  }
  BoundTable(const BoundTable&) = delete;
  BoundTable& operator=(const BoundTable&) = delete;

  bool isOpen() const { return table_ != nullptr; }

  // The column's buffer, filled by every fetched row; nullptr when the table has
  // no such column.
  const BoundColumn* bind(std::string_view columnName) {
    MdbTableDef* const table = table_.get();
    for (unsigned i = 0; i < table->num_cols && i < table->columns->len; ++i) {
      auto* const column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
      if (!equalsIgnoringAsciiCase(column->name, columnName)) continue;
      BoundColumn& bound = columns_.emplace_back();
      // Text is written up to the handle's bind size; a long value's pages are
      // copied whole, up to one page.
      bound.buffer.assign(std::max<std::size_t>(handle_->bind_size, MDB_PGSIZE) + 1, '\0');
      if (mdb_bind_column(table, static_cast<int>(i) + 1, bound.buffer.data(), nullptr) < 0) return nullptr;
      bound.column = column;
      return &bound;
    }
    return nullptr;
  }

  // Calls `visit` for every row it can read. mdbtools ends a walk silently at a
  // page it cannot read, so a walk that yields fewer rows than the table
  // definition counts has lost some: the file is cut or damaged.
  template <typename Visit>
  RowWalk forEachRow(Visit visit) {
    mdb_rewind_table(table_.get());
    std::size_t rows = 0;
    while (mdb_fetch_row(table_.get())) {
      if (++rows > kMaxRows) return RowWalk::TooManyRows;
      visit();
    }
    return rows < table_->num_rows ? RowWalk::RowsMissing : RowWalk::Complete;
  }

 private:
  struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
  };

  MdbHandle* handle_;
  MdbCatalogEntry entry_{};  // the table refers to it
  std::unique_ptr<MdbTableDef, TableFreer> table_;
  std::deque<BoundColumn> columns_;  // a deque keeps the bound buffers in place
};

// The definition pages of the tables the loader looks for.
struct SystemTables {
  std::optional<unsigned long> storagePage;
  bool hasAccess97Objects = false;
};

SystemTables findSystemTables(MdbHandle* handle, const std::string& fileName) {
  BoundTable catalog(handle, kCatalogTable, kCatalogPage);
  if (!catalog.isOpen()) throwNotAnAccessDatabase(fileName);
  const BoundColumn* const id = catalog.bind("Id");
  const BoundColumn* const name = catalog.bind("Name");
  const BoundColumn* const type = catalog.bind("Type");
  if (!id || !name || !type) throwNotAnAccessDatabase(fileName);

  SystemTables tables;
  const RowWalk walk = catalog.forEachRow([&] {
    const std::optional<long> objectType = parseNumber(type->text());
    const std::optional<long> objectId = parseNumber(id->text());
    if (!objectType || !objectId || (*objectType & 0x7F) != kTableObject) return;
    if (equalsIgnoringAsciiCase(name->text(), kStorageTable) && !tables.storagePage) {
      tables.storagePage = static_cast<unsigned long>(*objectId & kObjectPageMask);
    } else if (equalsIgnoringAsciiCase(name->text(), kAccess97Table)) {
      tables.hasAccess97Objects = true;
    }
  });
  if (walk == RowWalk::TooManyRows) throwDamaged(fileName, "der Katalog ist zu groß");
  if (walk == RowWalk::RowsMissing) throwDamaged(fileName, "der Katalog ist unvollständig");
  return tables;
}

}  // namespace

// The open database and its storage table with the columns bound.
struct AccessStorageTable::Reader {
  std::string fileName;
  std::uintmax_t fileSize = 0;
  std::uintmax_t bytesRead = 0;  // by all streams so far
  DatabaseHandle handle;
  std::unique_ptr<BoundTable> table;  // closed before the handle
  const BoundColumn* id = nullptr;
  const BoundColumn* parentId = nullptr;
  const BoundColumn* name = nullptr;
  const BoundColumn* type = nullptr;
  const BoundColumn* value = nullptr;

  const BoundColumn* bind(const char* columnName) {
    const BoundColumn* const bound = table->bind(columnName);
    if (!bound) throwDamaged(fileName, std::string("der Tabelle ") + kStorageTable + " fehlt die Spalte " + columnName);
    return bound;
  }

  template <typename Visit>
  void forEachRow(Visit visit) {
    switch (table->forEachRow(visit)) {
      case RowWalk::Complete:
        return;
      case RowWalk::TooManyRows:
        throwDamaged(fileName, std::string("die Tabelle ") + kStorageTable + " ist zu groß");
      case RowWalk::RowsMissing:
        throwDamaged(fileName, std::string("die Tabelle ") + kStorageTable + " ist unvollständig");
    }
  }

  // The current row's entry; nullopt for a row whose numbers cannot be read.
  std::optional<AccessStorageEntry> currentEntry() const {
    const std::optional<long> rowId = parseNumber(id->text());
    const std::optional<long> rowParent = parseNumber(parentId->text());
    const std::optional<long> rowType = parseNumber(type->text());
    if (!rowId || !rowParent || !rowType || (*rowType != kStorageType && *rowType != kStreamType)) {
      return std::nullopt;
    }
    // mdbtools hands text out as UTF-8.
    return AccessStorageEntry{*rowId, *rowParent, std::string(name->text()), *rowType == kStreamType};
  }

  // The current row's long value: mdbtools leaves its header in the bound buffer,
  // then copies the value page by page into the same buffer.
  std::string currentValue(const std::string& streamName) {
    MdbColumn* const column = value->column;
    if (column->cur_value_len == 0) return {};  // no value at all
    const auto damagedStream = [&] {
      throwDamaged(fileName, "der Datenstrom \"" + streamName + "\" ist unvollständig");
    };
    if (column->cur_value_len < MDB_MEMO_OVERHEAD) damagedStream();
    std::array<unsigned char, MDB_MEMO_OVERHEAD> header{};
    std::memcpy(header.data(), value->buffer.data(), header.size());
    const std::uint32_t declared = (std::uint32_t{header[0]} | std::uint32_t{header[1]} << 8 |
                                    std::uint32_t{header[2]} << 16 | std::uint32_t{header[3]} << 24) &
                                   kLongValueLengthMask;
    if (declared > kMaxStreamBytes) {
      throwDamaged(fileName, "der Datenstrom \"" + streamName + "\" ist größer als 256 MB");
    }
    if (declared > fileSize - bytesRead) {
      throwDamaged(fileName, "der Datenstrom \"" + streamName + "\" ist größer als die Datei");
    }
    bytesRead += declared;
    std::string bytes;
    bytes.reserve(declared);
    const char* const chunkData = value->buffer.data();
    std::size_t chunk = mdb_ole_read(handle.get(), column, header.data(), value->buffer.size());
    while (chunk > 0) {
      if (chunk > declared - bytes.size()) damagedStream();
      bytes.append(chunkData, chunk);
      chunk = mdb_ole_read_next(handle.get(), column, header.data());
    }
    if (bytes.size() != declared) damagedStream();
    return bytes;
  }
};

AccessStorageTable::AccessStorageTable(const fs::path& database) : reader_(std::make_unique<Reader>()) {
  Reader& reader = *reader_;
  reader.fileName = pathToText(database);
  reader.fileSize = checkDatabaseHeader(database, reader.fileName);
  reader.handle.reset(mdb_open(database.c_str(), MDB_NOFLAGS));
  if (!reader.handle) throwNotAnAccessDatabase(reader.fileName);

  const SystemTables tables = findSystemTables(reader.handle.get(), reader.fileName);
  if (!tables.storagePage) {
    if (tables.hasAccess97Objects) {
      throw Failed("Die Datei \"" + reader.fileName +
                      "\" ist eine Access-97-Datenbank; Access-97-Datenbanken werden nicht unterstützt.");
    }
    return;
  }
  reader.table = std::make_unique<BoundTable>(reader.handle.get(), kStorageTable, *tables.storagePage);
  if (!reader.table->isOpen()) {
    throwDamaged(reader.fileName, std::string("die Tabelle ") + kStorageTable + " kann nicht gelesen werden");
  }
  reader.id = reader.bind("Id");
  reader.parentId = reader.bind("ParentId");
  reader.name = reader.bind("Name");
  reader.type = reader.bind("Type");
  reader.value = reader.bind("Lv");
  if (reader.value->column->col_type != MDB_OLE) {
    throwDamaged(reader.fileName,
                 std::string("die Spalte Lv der Tabelle ") + kStorageTable + " hält keine Binärdaten");
  }
}

AccessStorageTable::~AccessStorageTable() = default;

bool AccessStorageTable::exists() const { return reader_->table != nullptr; }

std::vector<AccessStorageEntry> AccessStorageTable::entries() {
  std::vector<AccessStorageEntry> entries;
  if (!exists()) return entries;
  reader_->forEachRow([&] {
    if (std::optional<AccessStorageEntry> entry = reader_->currentEntry()) entries.push_back(std::move(*entry));
  });
  return entries;
}

std::map<long, std::string> AccessStorageTable::streams(const std::set<long>& ids) {
  std::map<long, std::string> streams;
  if (!exists() || ids.empty()) return streams;
  reader_->forEachRow([&] {
    const std::optional<AccessStorageEntry> entry = reader_->currentEntry();
    if (!entry || !entry->isStream || ids.count(entry->id) == 0 || streams.count(entry->id) != 0) return;
    streams.emplace(entry->id, reader_->currentValue(entry->name));
  });
  return streams;
}

}  // namespace cq
