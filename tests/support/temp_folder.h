#pragma once
// A uniquely named folder under /tmp for one test's files, removed with
// everything in it when the object goes out of scope.
#include <filesystem>
#include <string>
#include <string_view>

namespace cq::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes `bytes` to `relative` below the folder, creating the folders between;
  // returns the full path.
  std::filesystem::path writeFile(const std::filesystem::path& relative, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// The whole content of `file`, byte for byte; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& file);

}  // namespace cq::test
