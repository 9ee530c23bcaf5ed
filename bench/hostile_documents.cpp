// Writes the hostile documents whose listing `run-benchmarks` measures with
// /usr/bin/time: 3000 modules of one name, and two decompression bombs (eight
// modules sharing one stream of 63 MB of code, 3000 sharing one of 1 MB).
// Usage: cq-hostile-documents FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "support/office_file_writer.h"
#include "support/vba_project_writer.h"

namespace fs = std::filesystem;
using namespace cq::test;

namespace {

void writeProject(const fs::path& file, const VbaProjectPlan& plan) {
  std::ofstream(file, std::ios::binary) << compoundFileBytes(buildVbaProjectStreams(plan));
  std::cout << file.string() << ": " << fs::file_size(file) << " bytes\n";
}

std::string codeOf(std::size_t bytes) {
  std::string code;
  while (code.size() < bytes) code += "Sub S()\r\n  x = x + 1\r\nEnd Sub\r\n";
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: cq-hostile-documents FOLDER\n";
    return 2;
  }
  const fs::path folder = argv[1];
  fs::create_directories(folder);

  VbaProjectPlan sameName;
  for (int i = 1; i <= 3000; ++i) sameName.modules.push_back({"Modul", "", 1, codeOf(40), 0, false, "S" + std::to_string(i)});
  writeProject(folder / "same_name.bin", sameName);

  VbaProjectPlan bomb;
  const std::string large = codeOf(63u * 1024 * 1024);
  for (int i = 1; i <= 8; ++i) bomb.modules.push_back({"M" + std::to_string(i), "", 1, large, 0, false, "Geteilt"});
  writeProject(folder / "bomb_8x63MB.bin", bomb);

  VbaProjectPlan wide;
  const std::string medium = codeOf(1024 * 1024);
  for (int i = 1; i <= 3000; ++i) wide.modules.push_back({"M" + std::to_string(i), "", 1, medium, 0, false, "Geteilt"});
  writeProject(folder / "bomb_3000x1MB.bin", wide);
  return 0;
}
