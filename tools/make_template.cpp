// Build tool: creates the empty code database template from the schema.
// Usage: cq-make-template schema.sql output.mdb
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct MessageFreer {
  void operator()(char* message) const { sqlite3_free(message); }
};

int fail(const std::string& message) {
  std::cerr << "cq-make-template: " << message << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("usage: cq-make-template schema.sql output.mdb");
  const std::filesystem::path schemaFile = argv[1];
  const std::filesystem::path outputFile = argv[2];

  std::ifstream schemaStream(schemaFile, std::ios::binary);
  if (!schemaStream) return fail("cannot read " + schemaFile.string());
  std::ostringstream schema;
  schema << schemaStream.rdbuf();

  std::error_code removeError;
  std::filesystem::remove(outputFile, removeError);
  if (removeError) return fail("cannot remove " + outputFile.string() + ": " + removeError.message());

  sqlite3* rawDb = nullptr;
  const int openResult = sqlite3_open_v2(outputFile.c_str(), &rawDb,
                                         SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::unique_ptr<sqlite3, DatabaseCloser> db(rawDb);
  if (openResult != SQLITE_OK) {
    return fail("cannot create " + outputFile.string() + ": " +
                (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(openResult)));
  }

  char* rawMessage = nullptr;
  const int execResult = sqlite3_exec(db.get(), schema.str().c_str(), nullptr, nullptr, &rawMessage);
  std::unique_ptr<char, MessageFreer> message(rawMessage);
  if (execResult != SQLITE_OK) {
    const std::string reason = message ? message.get() : sqlite3_errstr(execResult);
    db.reset();
    std::filesystem::remove(outputFile, removeError);
    return fail(schemaFile.string() + ": " + reason);
  }
  return 0;
}
