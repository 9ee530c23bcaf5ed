#include "render/reindent.h"

#include <algorithm>
#include <vector>

namespace cq {

namespace {

// Deeper levels than this are written with this many tabs: no real code nests so
// deep, and unbounded indentation would let a hostile file blow up the output.
constexpr int kMaxWrittenTabs = 100;

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool endsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}
// "Loop", "Next", "Wend" alone or followed by a blank.
bool isWordOrWordBlank(std::string_view line, std::string_view word) {
  return startsWith(line, word) && (line.size() == word.size() || line[word.size()] == ' ');
}
std::string_view trimLeadingBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}
std::string_view trimBlanks(std::string_view s) {
  s = trimLeadingBlanks(s);
  const std::size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

void set(IndentState& state, int offset, int depthChange) {
  state.offset = offset;
  state.depth += depthChange;
}

// Cuts a trailing comment: walking backwards, the first apostrophe outside quotes.
std::string_view withoutTrailingComment(std::string_view joined) {
  if (joined.find('\'') == std::string_view::npos) return joined;
  bool inQuote = false;
  for (std::size_t k = joined.size(); k >= 3; --k) {
    const char c = joined[k - 1];
    if (c == '"') {
      inQuote = !inQuote;
    } else if (c == '\'' && !inQuote) {
      return trimBlanks(joined.substr(0, k - 1));
    }
  }
  return joined;
}

// An "If " line that does not end in "Then" is a single-line If unless, joined with
// its continuation lines and without its comment, it does end in "Then".
bool isSingleLineIf(std::string_view line, const std::vector<std::string_view>& lines, std::size_t index) {
  std::string joined(line);
  if (endsWith(line, " _")) {
    for (std::size_t j = index + 1; j < lines.size(); ++j) {
      joined.append(lines[j]);
      if (!endsWith(lines[j], " _")) break;
    }
    std::string cleaned;
    cleaned.reserve(joined.size());
    for (std::size_t k = 0; k < joined.size(); ++k) {
      if (joined[k] == ' ' && k + 1 < joined.size() && joined[k + 1] == '_') {
        ++k;
        continue;
      }
      cleaned.push_back(joined[k]);
    }
    joined.swap(cleaned);
  }
  return !endsWith(withoutTrailingComment(joined), "Then");
}

}  // namespace

void classifyBlockLine(std::string_view line, IndentState& state) {
  if (line.empty()) {
    set(state, 0, 0);
    return;
  }
  switch (line[0]) {
    case 'C':
      if (startsWith(line, "Case ")) return set(state, 1, 0);
      break;
    case 'D':
      if (startsWith(line, "Do") && (line.size() == 2 || line[2] == ' ')) return set(state, 1, 1);
      break;
    case 'E':
      if (line == "Else") return set(state, 1, 0);
      if (startsWith(line, "End With")) return set(state, 0, -1);
      if (startsWith(line, "End If")) return set(state, 0, -1);
      if (startsWith(line, "End Type")) return set(state, 0, -1);
      if (startsWith(line, "End Select")) return set(state, 0, -2);
      if (startsWith(line, "End Sub") || startsWith(line, "End Function") || startsWith(line, "End Property")) {
        state.offset = 0;
        state.depth = 0;
        return;
      }
      break;
    case 'F':
      if (startsWith(line, "For ")) return set(state, 1, 1);
      break;
    case 'I':
      if (startsWith(line, "If ")) return set(state, 1, 1);
      break;
    case 'L':
      if (isWordOrWordBlank(line, "Loop")) return set(state, 0, -1);
      break;
    case 'N':
      if (isWordOrWordBlank(line, "Next")) return set(state, 0, -1);
      break;
    case 'P':
      if (startsWith(line, "Public Type") || startsWith(line, "Private Type")) return set(state, 1, 1);
      break;
    case 'S':
      if (startsWith(line, "Select Case ")) return set(state, 2, 2);
      break;
    case 'T':
      if (startsWith(line, "Type")) return set(state, 1, 1);
      break;
    case 'W':
      if (startsWith(line, "While ")) return set(state, 1, 1);
      if (startsWith(line, "With ")) return set(state, 1, 1);
      if (isWordOrWordBlank(line, "Wend")) return set(state, 0, -1);
      break;
    default:
      break;
  }
  set(state, 0, 0);
}

std::string reindent(std::string_view text) {
  std::string untabbed;
  untabbed.reserve(text.size());
  for (char c : text)
    if (c != '\t') untabbed.push_back(c);

  std::vector<std::string_view> lines;
  const std::string_view all(untabbed);
  for (std::size_t start = 0;;) {
    const std::size_t br = all.find("\r\n", start);
    lines.push_back(all.substr(start, br == std::string_view::npos ? std::string_view::npos : br - start));
    if (br == std::string_view::npos) break;
    start = br + 2;
  }

  IndentState state;
  std::string previous;  // the last non-empty line as written
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out.append("\r\n");
    if (i + 1 == lines.size()) {
      out.append(lines[i]);
      break;
    }
    const std::string_view line = trimLeadingBlanks(lines[i]);
    if (line.empty()) continue;  // a line of blanks becomes empty

    if (endsWith(previous, " _")) {
      state.offset = -1;
    } else if (startsWith(line, "If ") && !endsWith(line, "Then") && isSingleLineIf(line, lines, i)) {
      state.offset = 0;
    } else {
      classifyBlockLine(line, state);
    }
    const int tabs = std::min(state.depth - state.offset, kMaxWrittenTabs);
    const std::size_t lineStart = out.size();
    if (tabs > 0) out.append(static_cast<std::size_t>(tabs), '\t');
    out.append(line);
    previous.assign(out, lineStart, std::string::npos);
  }
  return out;
}

}  // namespace cq
