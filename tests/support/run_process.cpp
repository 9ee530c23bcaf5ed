#include "support/run_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/temp_folder.h"

namespace cq::test {

namespace {

std::string readAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& input, std::uintmax_t fileSizeLimit) {
  // Output goes to files: the programs may write far more than a pipe holds.
  const TempFolder scratch;
  const std::string outFile = (scratch.path() / "out").string();
  const std::string errFile = (scratch.path() / "err").string();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = open(input.c_str(), O_RDONLY);
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (fileSizeLimit != 0) {
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &limit);
      signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead of ending the program
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProcessResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = readAll(outFile);
  result.err = readAll(errFile);
  return result;
}

ProcessResult runCli(const std::vector<std::string>& args, const std::filesystem::path& input,
                     std::uintmax_t fileSizeLimit) {
  std::vector<std::string> all = args;
  all.push_back("--no-settings");
  return runProcess(CQ_CLI_PATH, all, input, fileSizeLimit);
}

}  // namespace cq::test
