#include "compare/line_diff.h"

#include <algorithm>
#include <unordered_map>

namespace cq {
namespace {

// Beyond this many removed and added lines the middle of the texts counts as
// replaced whole: the search would need memory growing with its square.
constexpr std::ptrdiff_t kMaximumEditDistance = 2000;

// Myers' greedy search over line numbers `a` and `b` (equal numbers: equal
// lines); the edit kinds of one shortest script, from the start.
std::vector<LineEditKind> shortestScript(const std::vector<int>& a, const std::vector<int>& b) {
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(a.size());
  const std::ptrdiff_t m = static_cast<std::ptrdiff_t>(b.size());
  const std::ptrdiff_t limit = std::min(n + m, kMaximumEditDistance);
  std::vector<std::ptrdiff_t> furthest(static_cast<std::size_t>(2 * limit + 3), 0);
  const std::ptrdiff_t offset = limit + 1;
  std::vector<std::vector<std::ptrdiff_t>> trace;  // furthest[-d..d] before step d
  std::ptrdiff_t found = -1;
  for (std::ptrdiff_t d = 0; d <= limit && found < 0; ++d) {
    trace.emplace_back(furthest.begin() + (offset - d), furthest.begin() + (offset + d + 1));
    for (std::ptrdiff_t k = -d; k <= d; k += 2) {
      const bool down = k == -d || (k != d && furthest[offset + k - 1] < furthest[offset + k + 1]);
      std::ptrdiff_t x = down ? furthest[offset + k + 1] : furthest[offset + k - 1] + 1;
      std::ptrdiff_t y = x - k;
      while (x < n && y < m && a[x] == b[y]) ++x, ++y;
      furthest[offset + k] = x;
      if (x >= n && y >= m) {
        found = d;
        break;
      }
    }
  }
  std::vector<LineEditKind> script;
  if (found < 0) {
    script.assign(static_cast<std::size_t>(n), LineEditKind::kRemoved);
    script.insert(script.end(), static_cast<std::size_t>(m), LineEditKind::kAdded);
    return script;
  }
  std::ptrdiff_t x = n;
  std::ptrdiff_t y = m;
  for (std::ptrdiff_t d = found; d >= 0; --d) {
    const std::vector<std::ptrdiff_t>& before = trace[static_cast<std::size_t>(d)];
    const auto at = [&](std::ptrdiff_t k) { return before[static_cast<std::size_t>(k + d)]; };
    const std::ptrdiff_t k = x - y;
    std::ptrdiff_t previousX = 0;
    std::ptrdiff_t previousY = 0;
    if (d > 0) {
      const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
      const std::ptrdiff_t previousK = down ? k + 1 : k - 1;
      previousX = at(previousK);
      previousY = previousX - previousK;
    }
    while (x > previousX && y > previousY) {
      script.push_back(LineEditKind::kSame);
      --x, --y;
    }
    if (d > 0) {
      script.push_back(x == previousX ? LineEditKind::kAdded : LineEditKind::kRemoved);
      x = previousX;
      y = previousY;
    }
  }
  std::reverse(script.begin(), script.end());
  return script;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<LineEdit> diffLines(const std::vector<std::string_view>& older, const std::vector<std::string_view>& newer) {
  std::size_t prefix = 0;
  while (prefix < older.size() && prefix < newer.size() && older[prefix] == newer[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < older.size() - prefix && suffix < newer.size() - prefix &&
         older[older.size() - 1 - suffix] == newer[newer.size() - 1 - suffix])
    ++suffix;

  // Lines as numbers, so the search compares integers.
  std::unordered_map<std::string_view, int> numbers;
  const auto numbered = [&](const std::vector<std::string_view>& lines) {
    std::vector<int> result;
    result.reserve(lines.size() - prefix - suffix);
    for (std::size_t i = prefix; i < lines.size() - suffix; ++i)
      result.push_back(numbers.try_emplace(lines[i], static_cast<int>(numbers.size())).first->second);
    return result;
  };
  const std::vector<int> a = numbered(older);
  const std::vector<int> b = numbered(newer);
  std::vector<LineEditKind> script(prefix, LineEditKind::kSame);
  const std::vector<LineEditKind> middle = shortestScript(a, b);
  script.insert(script.end(), middle.begin(), middle.end());
  script.insert(script.end(), suffix, LineEditKind::kSame);

  // Within each run of changes the removed lines go first, as diff shows them.
  for (std::size_t i = 0; i < script.size();) {
    if (script[i] == LineEditKind::kSame) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < script.size() && script[end] != LineEditKind::kSame) ++end;
    std::stable_partition(script.begin() + static_cast<std::ptrdiff_t>(i), script.begin() + static_cast<std::ptrdiff_t>(end),
                          [](LineEditKind kind) { return kind == LineEditKind::kRemoved; });
    i = end;
  }
  std::vector<LineEdit> edits;
  edits.reserve(script.size());
  std::size_t oldLine = 0;
  std::size_t newLine = 0;
  for (LineEditKind kind : script) {
    edits.push_back({kind, oldLine, newLine});
    if (kind != LineEditKind::kAdded) ++oldLine;
    if (kind != LineEditKind::kRemoved) ++newLine;
  }
  return edits;
}

std::string unifiedHunks(const std::vector<std::string_view>& older, const std::vector<std::string_view>& newer,
                         const std::vector<LineEdit>& edits, std::size_t oldFirst, std::size_t newFirst,
                         std::size_t context) {
  std::string out;
  std::size_t next = 0;  // the first edit not yet looked at
  while (true) {
    while (next < edits.size() && edits[next].kind == LineEditKind::kSame) ++next;
    if (next == edits.size()) break;
    const std::size_t begin = next > context ? next - context : 0;
    // The hunk goes on while the next change lies within twice the context.
    std::size_t end = next;
    while (true) {
      while (end < edits.size() && edits[end].kind != LineEditKind::kSame) ++end;
      std::size_t same = end;
      while (same < edits.size() && edits[same].kind == LineEditKind::kSame) ++same;
      if (same < edits.size() && same - end <= 2 * context) {
        end = same;
        continue;
      }
      end = std::min(edits.size(), end + context);
      break;
    }
    std::size_t oldCount = 0;
    std::size_t newCount = 0;
    for (std::size_t i = begin; i < end; ++i) {
      if (edits[i].kind != LineEditKind::kAdded) ++oldCount;
      if (edits[i].kind != LineEditKind::kRemoved) ++newCount;
    }
    // An empty side names the line before the hunk, as diff does.
    const std::size_t oldStart = edits[begin].oldLine + oldFirst - (oldCount == 0 ? 1 : 0);
    const std::size_t newStart = edits[begin].newLine + newFirst - (newCount == 0 ? 1 : 0);
    out += "@@ -" + std::to_string(oldStart) + "," + std::to_string(oldCount) + " +" + std::to_string(newStart) +
           "," + std::to_string(newCount) + " @@\n";
    for (std::size_t i = begin; i < end; ++i) {
      const LineEdit& edit = edits[i];
      switch (edit.kind) {
        case LineEditKind::kSame:
          out.append(" ").append(older[edit.oldLine]);
          break;
        case LineEditKind::kRemoved:
          out.append("-").append(older[edit.oldLine]);
          break;
        case LineEditKind::kAdded:
          out.append("+").append(newer[edit.newLine]);
          break;
      }
      out.push_back('\n');
    }
    next = end;
  }
  return out;
}

}  // namespace cq
