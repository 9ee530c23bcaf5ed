#include "render/markup.h"

#include <cstring>

#include "analysis/routine_lines.h"
#include "render/keyword_matcher.h"
#include "text/markers.h"
#include "render/reindent.h"
#include "text/text_replace.h"

namespace cq {

namespace {

void appendRun(std::string& out, std::string_view opening, std::string_view content, bool closed = true) {
  out.append(opening).append(content);
  if (closed) out.append(markers::kEnd);
}

// Collapses every run of consecutive CR LF into one.
std::string withoutEmptyLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    out.push_back(text[i]);
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.push_back('\n');
      i += 2;
      while (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') i += 2;
    } else {
      ++i;
    }
  }
  return out;
}

// Escapes the marker character, replaces doubled quotes and joins continued lines
// in one pass: none of these replacements produces what a later one looks for.
std::string escapeAndJoin(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == markers::kChar[0] && text.substr(i, markers::kChar.size()) == markers::kChar) {
      out.append(markers::kEscape);
      i += markers::kChar.size() - 1;
    } else if (c == '"' && i + 1 < n && text[i + 1] == '"') {
      out.append(markers::kQuotePair);
      ++i;
    } else if (c == '_' && i + 2 < n && text[i + 1] == '\r' && text[i + 2] == '\n') {
      out.append(markers::kContinuation);
      i += 2;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Marks one line: string literals and comments become runs, keywords are marked
// in the code between them. `position` is where the line starts in the input.
class LineMarker {
 public:
  LineMarker(std::string& out, KeywordMatcher& keywords) : out_(out), keywords_(keywords) {}

  void mark(std::string_view line, std::size_t position) {
    line_ = line;
    position_ = position;
    codeStart_ = 0;
    afterRun_ = false;
    const std::size_t q = line.find('"');
    const std::size_t a = line.find('\'');
    const bool hasQuote = q != std::string_view::npos;
    const bool hasApostrophe = a != std::string_view::npos;
    if (hasApostrophe && (!hasQuote || a < q)) {
      comment(a);
    } else if (hasQuote && hasApostrophe) {
      scanLiteralsAndComment();
    } else if (hasQuote) {
      quotedParts();
    }
    code(line.size(), false);
  }

 private:
  // Code from the end of the last run up to `end`.
  void code(std::size_t end, bool runFollows) {
    keywords_.appendMarked(out_, line_.substr(codeStart_, end - codeStart_), position_ + codeStart_, afterRun_,
                           runFollows);
  }
  void run(std::string_view opening, std::size_t from, std::size_t to, bool closed = true) {
    appendRun(out_, opening, line_.substr(from, to - from), closed);
    codeStart_ = to;
    afterRun_ = true;
  }
  void comment(std::size_t apostrophe) {
    code(apostrophe, true);
    run(markers::kComment, apostrophe, line_.size());
  }
  // A line whose first quote comes before its first apostrophe: literals run from
  // quote to quote; an apostrophe outside them starts the comment. A literal left
  // open at the line end is kept as a string run.
  void scanLiteralsAndComment() {
    std::size_t i = 0;
    while (i < line_.size()) {
      const char c = line_[i];
      if (c == '\'') return comment(i);
      if (c != '"') {
        ++i;
        continue;
      }
      const std::size_t close = line_.find('"', i + 1);
      code(i, true);
      run(markers::kString, i, close == std::string_view::npos ? line_.size() : close + 1);
      i = codeStart_;
    }
  }
  // A line with quotes and no apostrophe: the parts between quotes are literals;
  // with an odd number of quotes the last one stays open.
  void quotedParts() {
    std::size_t open = line_.find('"');
    while (open != std::string_view::npos) {
      const std::size_t close = line_.find('"', open + 1);
      code(open, true);
      run(markers::kString, open, close == std::string_view::npos ? line_.size() : close + 1,
          close != std::string_view::npos);
      if (close == std::string_view::npos) return;
      open = line_.find('"', close + 1);
    }
  }

  std::string& out_;
  KeywordMatcher& keywords_;
  std::string_view line_;
  std::size_t position_ = 0;
  std::size_t codeStart_ = 0;
  bool afterRun_ = false;
};

// Steps shared by both modes: the code enclosed in CR LF, with runs marked and the
// escape, continuation and quote pair markers still in place.
std::string markRuns(std::string_view code, const MarkupOptions& options) {
  std::string text;
  text.reserve(code.size() + 4);
  text.append("\r\n").append(code).append("\r\n");
  if (options.reindent) text = reindent(text);
  if (options.removeEmptyLines) text = withoutEmptyLines(text);
  text = escapeAndJoin(text);

  std::string out;
  out.reserve(text.size() + text.size() / 2);
  KeywordMatcher keywords;
  LineMarker marker(out, keywords);
  const std::string_view all(text);
  for (std::size_t start = 0;;) {
    const std::size_t br = all.find("\r\n", start);
    marker.mark(all.substr(start, br == std::string_view::npos ? br : br - start), start);
    if (br == std::string_view::npos) break;
    out.append("\r\n");
    start = br + 2;
  }
  return out;
}

constexpr RoutineKind kKindsInPassOrder[] = {RoutineKind::kSub, RoutineKind::kFunction, RoutineKind::kProperty};

// Turns continuation markers back into "_" + CR LF and quote pair markers into a
// doubled quote, in one pass (neither can produce or overlap the other), leaving
// out the first `dropFront` characters of the result.
std::string restoreJoinedLines(std::string_view text, std::size_t dropFront) {
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t at = text.find(markers::kChar); at != std::string_view::npos;
       at = text.find(markers::kChar, at + 1)) {
    if (at == 0 || text[at - 1] != '|') continue;  // the marker character opens no marker here
    const std::string_view marker = text.substr(at - 1);
    std::string_view replacement;
    std::size_t length = 0;
    if (marker.starts_with(markers::kContinuation)) {
      replacement = "_\r\n";
      length = markers::kContinuation.size();
    } else if (marker.starts_with(markers::kQuotePair)) {
      replacement = "\"\"";
      length = markers::kQuotePair.size();
    } else {
      continue;
    }
    out.append(text.substr(done, at - 1 - done)).append(replacement);
    done = at - 1 + length;
    at = done - 1;
  }
  out.append(text.substr(done));
  out.erase(0, dropFront);
  return out;
}

void restoreEscapedMarkerChars(std::string& text) {
  replaceAllInPlace(text, markers::kEscape, markers::kChar);
}

}  // namespace

void markRoutineLines(std::string& text, RoutineKind kind, const MarkupOptions& options) {
  const bool indentBodies = options.reindent && options.indentRoutineBodies;
  bool routineOpen = false;
  const auto indentsBody = [&](std::string_view line) {
    // An empty line stays empty.
    return indentBodies && routineOpen && !line.empty() && line.substr(0, markers::kBold.size()) != markers::kBold;
  };
  const auto decide = [&](std::string_view line, std::string& out) {
    const std::size_t lineStart = out.size();
    bool bold = false;
    bool header = false;
    switch (routineLineRole(line, kind, routineOpen)) {
      case RoutineLineRole::kOther:
      case RoutineLineRole::kPropertyWithoutAccessor:
        break;
      case RoutineLineRole::kEnd:
        routineOpen = false;
        bold = true;
        break;
      case RoutineLineRole::kAlternativeHeader:
        bold = true;  // the routine stays open; no empty line, and bold lines get no tab
        break;
      case RoutineLineRole::kHeader:
        routineOpen = bold = header = true;
        break;
      case RoutineLineRole::kOneLineRoutine:
      case RoutineLineRole::kDeclaration:
        bold = header = true;  // nothing left open
        break;
    }
    if (bold) {
      out.append(markers::kBold).append(line).append(markers::kBoldEnd);
    } else {
      out.append(line);
    }
    if (indentsBody(std::string_view(out).substr(lineStart))) out.insert(lineStart, 1, '\t');
    if (header && options.blankLineBeforeRoutines)
      out.insert(blankLineSpot(std::string_view(out).substr(0, lineStart)), "\r\n");
  };
  rewriteRoutineLines(text, markedKindWord(kind), decide, [&] { return indentBodies && routineOpen; },
                      indentsBody);
}

std::string markUpModule(std::string_view code, const MarkupOptions& options, ModuleScan& scan) {
  std::string text = markRuns(code, options);
  for (RoutineKind kind : kKindsInPassOrder) runRoutinePass(text, kind, scan);
  text = restoreJoinedLines(text, 2);  // the leading CR LF goes; the trailing one stays
  runLinePass(text, scan);
  // Last, so that a marker character of the source can neither fake an anchor nor a marker.
  restoreEscapedMarkerChars(text);
  return text;
}

std::string markUpSelection(std::string_view code, const MarkupOptions& options) {
  std::string text = markRuns(code, options);
  for (RoutineKind kind : kKindsInPassOrder) markRoutineLines(text, kind, options);
  text = restoreJoinedLines(text, 2);
  text.resize(text.size() >= 2 ? text.size() - 2 : 0);  // and the trailing one too
  restoreEscapedMarkerChars(text);
  return text;
}

}  // namespace cq
