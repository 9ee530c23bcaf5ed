// Every test of this program runs with its own home, configuration and data
// folders, so the user's real settings are never read or written. Set before
// any test runs, because QSettings keeps the folders it found first.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace {

class IsolatedUserFolders : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::string root = folder_.path().string();
    setenv("HOME", root.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  }

 private:
  cq::test::TempFolder folder_;
};

[[maybe_unused]] ::testing::Environment* const kIsolatedUserFolders =
    ::testing::AddGlobalTestEnvironment(new IsolatedUserFolders);

}  // namespace
