#include "ui/session/read_report.h"

namespace cq {

std::string readWarningsText(const std::vector<ScanWarning>& warnings) {
  if (warnings.empty()) return {};
  std::string text =
      "Diese Zeilen sehen wie Routinenköpfe aus, konnten aber nicht als Routine gelesen werden. "
      "Sie bleiben gewöhnlicher Code:\r\n";
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    if (i == kMostListedWarnings) {
      text += "\r\n…";
      break;
    }
    const ScanWarning& warning = warnings[i];
    text += "\r\n" + warning.module + ", Zeile " + std::to_string(warning.line) + ": " + warning.code;
  }
  return text;
}

}  // namespace cq
