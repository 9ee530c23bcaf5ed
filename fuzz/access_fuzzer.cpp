// Access databases: the storage table is read through the database library and
// the VBA project found in it is loaded.
#include "fuzz_input_file.h"
#include "sources/document_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto database = cq::fuzz::scratch().write("database.accdb", cq::fuzz::bytesOf(data, size));
  const cq::LoadedProject project = cq::loadDocument(database);
  for (const cq::LoadedComponent& component : project.components()) (void)component.lines(1, component.countOfLines());
  return 0;
}
