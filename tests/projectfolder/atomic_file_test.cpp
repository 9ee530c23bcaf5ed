#include "projectfolder/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "sources/source_file.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Makes every write beyond `bytes` fail (EFBIG) while it lives, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int);
};

TEST(AtomicFile, WritesAndReplacesWholeFilesAndLeavesNothingHalfWritten) {
  test::TempFolder temp;
  const fs::path target = temp.path() / "Bericht.RTF";
  ASSERT_TRUE(writeFileAtomically(target, std::string("{\\rtf1 alt}\x9F", 12)).ok());
  EXPECT_EQ(readSourceFile(target), std::string("{\\rtf1 alt}\x9F", 12));  // byte for byte
  ASSERT_TRUE(writeFileAtomically(target, "neu").ok());
  EXPECT_EQ(readSourceFile(target), "neu");
  EXPECT_EQ(namesIn(temp.path()), std::vector<std::string>{"Bericht.RTF"});

  {
    // A write that fails part way keeps the old file and removes its temporary file.
    const FileSizeLimit limit(1000);
    const Outcome<void> failed = writeFileAtomically(target, std::string(100000, 'x'));
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(failed.failure().message.find("Bericht.RTF konnte nicht geschrieben werden."), std::string::npos);
    EXPECT_FALSE(failed.failure().cause.empty());
  }
  EXPECT_EQ(readSourceFile(target), "neu");
  EXPECT_EQ(namesIn(temp.path()), std::vector<std::string>{"Bericht.RTF"});

  // A folder in the way, or a folder that is missing, is a failure with a reason.
  fs::create_directory(temp.path() / "Ordner");
  for (const fs::path& bad : {temp.path() / "Ordner", temp.path() / "fehlt" / "x.RTF"}) {
    const Outcome<void> failed = writeFileAtomically(bad, "x");
    ASSERT_FALSE(failed.ok()) << bad;
    EXPECT_FALSE(failed.failure().cause.empty()) << bad;
  }
  EXPECT_TRUE(fs::is_empty(temp.path() / "Ordner"));
}

}  // namespace
}  // namespace cq
