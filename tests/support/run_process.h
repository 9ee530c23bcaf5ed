#pragma once
// Runs a program to its end, with standard input from a file, and returns what
// it wrote and how it ended.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace cq::test {

struct ProcessResult {
  int exitCode = -1;    // -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, 0 when it exited
  std::string out;
  std::string err;
};

// A `fileSizeLimit` other than 0 lets the program write no file beyond that many
// bytes (writes fail as on a full disk), its output included.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& input = "/dev/null", std::uintmax_t fileSizeLimit = 0);

// codequorix-cli with the given arguments, never touching the user's settings.
ProcessResult runCli(const std::vector<std::string>& args, const std::filesystem::path& input = "/dev/null",
                     std::uintmax_t fileSizeLimit = 0);

}  // namespace cq::test
