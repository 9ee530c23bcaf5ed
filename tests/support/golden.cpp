#include "support/golden.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace cq::test {

namespace {

constexpr std::size_t kMaxDiffLines = 20;

std::filesystem::path goldenPath(std::string_view name) {
  return std::filesystem::path(CQ_GOLDEN_DIR) / std::string(name);
}

bool updateRequested() {
  const char* value = std::getenv("CQ_UPDATE_GOLDEN");
  return value != nullptr && std::string_view(value) == "1";
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Lines split at LF; a CR before the LF stays visible in the escaped form.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

// Windows-1252 bytes and control characters shown as \xNN, so a diff stays readable.
std::string printable(std::string_view line) {
  std::string out;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte < 0x7F) || byte == '\t') {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

// One hunk from the first to the last differing line, both sides cut to kMaxDiffLines.
std::string lineDiff(std::string_view expected, std::string_view actual) {
  const auto want = splitLines(expected);
  const auto got = splitLines(actual);
  std::size_t head = 0;
  while (head < want.size() && head < got.size() && want[head] == got[head]) ++head;
  std::size_t tail = 0;
  while (tail < want.size() - head && tail < got.size() - head &&
         want[want.size() - 1 - tail] == got[got.size() - 1 - tail])
    ++tail;
  const std::size_t wantCount = want.size() - head - tail;
  const std::size_t gotCount = got.size() - head - tail;

  std::ostringstream diff;
  diff << "@@ -" << head + 1 << "," << wantCount << " +" << head + 1 << "," << gotCount << " @@\n";
  for (std::size_t i = 0; i < std::min(wantCount, kMaxDiffLines); ++i) diff << "-" << printable(want[head + i]) << "\n";
  if (wantCount > kMaxDiffLines) diff << "  ... " << wantCount - kMaxDiffLines << " more expected lines\n";
  for (std::size_t i = 0; i < std::min(gotCount, kMaxDiffLines); ++i) diff << "+" << printable(got[head + i]) << "\n";
  if (gotCount > kMaxDiffLines) diff << "  ... " << gotCount - kMaxDiffLines << " more actual lines\n";
  return diff.str();
}

}  // namespace

::testing::AssertionResult matchesGolden(std::string_view goldenName, std::string_view actual) {
  const std::filesystem::path path = goldenPath(goldenName);
  if (updateRequested()) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(actual.data(), static_cast<std::streamsize>(actual.size()));
    if (!out) return ::testing::AssertionFailure() << "cannot write golden file " << path;
    return ::testing::AssertionSuccess() << "golden file " << path << " written";
  }
  const std::optional<std::string> expected = readFile(path);
  if (!expected)
    return ::testing::AssertionFailure() << "golden file " << path
                                         << " is missing; run with CQ_UPDATE_GOLDEN=1 to create it";
  if (*expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "output differs from golden file " << path << "\n"
                                       << lineDiff(*expected, actual);
}

}  // namespace cq::test
