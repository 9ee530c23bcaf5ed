#include "render/markup.h"

#include <cstring>

#include "analysis/routine_lines.h"
#include "render/keyword_matcher.h"
#include "render/markers.h"
#include "render/reindent.h"
#include "render/text_replace.h"

namespace cq {

namespace {

// Appends `part` with every blank written as the space marker, so that keyword
// matching cannot see words inside literals and comments.
void appendShielded(std::string& out, std::string_view part) {
  std::size_t done = 0;
  for (std::size_t blank = part.find(' '); blank != std::string_view::npos; blank = part.find(' ', done)) {
    out.append(part.data() + done, blank - done);
    out.append(markers::kSpace);
    done = blank + 1;
  }
  out.append(part.data() + done, part.size() - done);
}

void appendComment(std::string& out, std::string_view fromApostrophe) {
  out.append(markers::kComment);
  appendShielded(out, fromApostrophe);
  out.append(markers::kEnd);
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

// Escapes the marker character, replaces doubled quotes, joins continued lines and
// pads punctuation, in one pass: none of these replacements produces a character
// that a later one looks for.
std::string escapeJoinAndPad(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    switch (c) {
      case markers::kChar: out.append(markers::kEscape); break;
      case '"':
        if (i + 1 < n && text[i + 1] == '"') {
          out.append(markers::kQuotePair);
          ++i;
        } else {
          out.push_back('"');
        }
        break;
      case '_':
        if (i + 2 < n && text[i + 1] == '\r' && text[i + 2] == '\n') {
          out.append(markers::kContinuation);
          i += 2;
        } else {
          out.push_back('_');
        }
        break;
      case '(': out.append(" ( "); break;
      case ')': out.append(" ) "); break;
      case ',': out.append(" , "); break;
      case '\t': out.append(" \t "); break;
      default: out.push_back(c);
    }
  }
  return out;
}

// A line whose quotes come without any apostrophe: literals are the parts between
// quotes; an odd number of quotes leaves the last run open.
void appendQuotedLine(std::string& out, std::string_view line) {
  std::size_t start = 0;
  for (std::size_t index = 0;; ++index) {
    const std::size_t quote = line.find('"', start);
    const std::string_view part = line.substr(start, quote == std::string_view::npos ? quote : quote - start);
    const bool last = quote == std::string_view::npos;
    if (index % 2 == 1) {
      appendShielded(out, part);
    } else {
      if (index > 0) out.append(markers::kEnd);
      out.append(part);
      if (!last) out.append(markers::kString);
    }
    if (last) return;
    out.push_back('"');
    start = quote + 1;
  }
}

void appendMarkedLine(std::string& out, std::string_view line) {
  const std::size_t q = line.find('"');
  const std::size_t a = line.find('\'');
  const bool hasQuote = q != std::string_view::npos;
  const bool hasApostrophe = a != std::string_view::npos;
  if (hasApostrophe && (!hasQuote || a < q)) {
    out.append(line.substr(0, a));
    appendComment(out, line.substr(a));
  } else if (hasQuote && hasApostrophe) {
    out.append(markLineScan(line));
  } else if (hasQuote) {
    appendQuotedLine(out, line);
  } else {
    out.append(line);
  }
}

// Marks strings and comments line by line and pads every line with a blank at
// both ends.
std::string markStringsAndComments(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (std::size_t start = 0;;) {
    const std::size_t br = text.find("\r\n", start);
    appendMarkedLine(out, text.substr(start, br == std::string_view::npos ? br : br - start));
    if (br == std::string_view::npos) break;
    out.append(" \r\n ");
    start = br + 2;
  }
  return out;
}

// Undoes the padding, in this order; each step sees the result of the one before.
void removePadding(std::string& text) {
  replaceAllInPlace(text, markers::kSpace, " ");
  replaceAllInPlace(text, " \t ", "\t");
  replaceAllInPlace(text, " \r\n ", "\r\n");
  replaceAllInPlace(text, " ) ", ")");
  replaceAllInPlace(text, " ( ", "(");
  replaceAllInPlace(text, " , ", ",");
}

// Steps shared by both modes: the code enclosed in CR LF, with runs marked and the
// escape, continuation and quote pair markers still in place.
std::string markRuns(std::string_view code, const MarkupOptions& options) {
  std::string text;
  text.reserve(code.size() + 4);
  text.append("\r\n").append(code).append("\r\n");
  if (options.reindent) text = reindent(text);
  if (options.removeEmptyLines) text = withoutEmptyLines(text);
  text = escapeJoinAndPad(text);
  text = markStringsAndComments(text);
  text = markKeywords(text);
  removePadding(text);
  return text;
}

constexpr RoutineKind kKindsInPassOrder[] = {RoutineKind::kSub, RoutineKind::kFunction, RoutineKind::kProperty};

std::string continuationAsLineBreak() { return "_\r\n"; }

}  // namespace

std::string markLineScan(std::string_view line) {
  std::string out;
  out.reserve(line.size() + 32);
  bool inString = false;
  std::size_t literalStart = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\'' && !inString) {
      appendComment(out, line.substr(i));
      return out;
    }
    if (c == '"') {
      if (!inString) {
        inString = true;
        literalStart = i;
      } else {
        out.append(markers::kString);
        appendShielded(out, line.substr(literalStart, i - literalStart + 1));
        out.append(markers::kEnd);
        inString = false;
      }
    } else if (!inString) {
      out.push_back(c);
    }
  }
  if (inString) {  // keep a literal left open at the line end instead of losing it
    out.append(markers::kString);
    appendShielded(out, line.substr(literalStart));
    out.append(markers::kEnd);
  }
  return out;
}

void markRoutineLines(std::string& text, RoutineKind kind, const MarkupOptions& options) {
  if (text.find(markedKindWord(kind)) == std::string::npos) return;
  const bool indentBodies = options.reindent && options.indentRoutineBodies;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  bool routineOpen = false;
  std::size_t start = 0;
  for (bool first = true;; first = false) {
    const std::size_t br = text.find("\r\n", start);
    const std::string_view line =
        std::string_view(text).substr(start, br == std::string::npos ? br : br - start);
    if (!first) out.append("\r\n");
    const std::size_t lineStart = out.size();
    bool bold = false;
    bool header = false;
    if (isRoutineLine(line, kind)) {
      if (routineOpen) {
        routineOpen = false;
        bold = true;
      } else if (containsMarked(line, "Declare")) {
        bold = header = true;
      } else if (kind != RoutineKind::kProperty || propertyAccessorType(line) != 0) {
        routineOpen = bold = header = true;
      }
    }
    if (bold) {
      if (header && options.blankLineBeforeRoutines) out.append("\r\n");
      out.append(markers::kBold).append(line).append(markers::kBoldEnd);
    } else {
      out.append(line);
    }
    if (indentBodies && routineOpen &&
        std::string_view(out).substr(lineStart, markers::kBold.size()) != markers::kBold)
      out.insert(lineStart, 1, '\t');
    if (br == std::string::npos) break;
    start = br + 2;
  }
  text.swap(out);
}

std::string markUpModule(std::string_view code, const MarkupOptions& options, ModuleScan& scan) {
  std::string text = markRuns(code, options);
  for (RoutineKind kind : kKindsInPassOrder) runRoutinePass(text, kind, scan);
  replaceAllInPlace(text, markers::kContinuation, continuationAsLineBreak());
  replaceAllInPlace(text, markers::kQuotePair, "\"\"");
  text.erase(0, 2);
  runLinePass(text, scan);
  // Last, so that a 0x9F of the source can neither fake an anchor nor a marker.
  replaceAllInPlace(text, markers::kEscape, std::string_view(&markers::kChar, 1));
  return text;
}

std::string markUpSelection(std::string_view code, const MarkupOptions& options) {
  std::string text = markRuns(code, options);
  for (RoutineKind kind : kKindsInPassOrder) markRoutineLines(text, kind, options);
  replaceAllInPlace(text, markers::kContinuation, continuationAsLineBreak());
  replaceAllInPlace(text, markers::kQuotePair, "\"\"");
  text = text.size() >= 4 ? text.substr(2, text.size() - 4) : std::string();
  replaceAllInPlace(text, markers::kEscape, std::string_view(&markers::kChar, 1));
  return text;
}

}  // namespace cq
