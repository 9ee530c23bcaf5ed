#include "ui/code/code_view.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>

#include "app/text_boundary.h"

namespace cq {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr double kTwipsPerCentimetre = 567;

// Colour settings hold red in the low byte, blue in the third.
QColor colourOfSetting(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

// The colour table of the RTF rendering: plain code is black.
std::array<QColor, 4> colourTable(const RenderOptions& options) {
  return {QColor(Qt::black), colourOfSetting(options.keywordColour), colourOfSetting(options.commentColour),
          colourOfSetting(options.stringColour)};
}

QTextCharFormat formatOf(const QColor& colour, bool bold) {
  QTextCharFormat format;
  format.setForeground(colour);
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  return format;
}

// Fonts of the other platform ("MS Sans Serif") are usually missing here; code
// then shows in the system's fixed-width font.
QFont codeFont(const RenderOptions& options) {
  const QString family = toQString(options.fontName).trimmed();
  QFont font = QFontDatabase::hasFamily(family) ? QFont(family) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(options.fontSize > 0 ? options.fontSize : RenderOptions{}.fontSize);
  return font;
}

// The document splits at every line break, so each break becomes one character.
QString documentTextOf(std::string_view text) {
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

}  // namespace

CodeView::CodeView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  // Read-only, yet the caret shows and moves with keys and mouse.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setUndoRedoEnabled(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
  applyRenderOptions(options_);
}

void CodeView::setMarkedText(std::string_view marked, const RenderOptions& options) {
  setStyledText(decodeMarkedText(marked, options.boldRoutineLines), options);
}

void CodeView::setStyledText(StyledText styled, const RenderOptions& options) {
  styled_ = std::move(styled);
  lines_ = LineMap(styled_.text);
  options_ = options;
  applyRenderOptions(options_);
  buildDocument();
}

void CodeView::clearText() { setStyledText(StyledText{}, options_); }

void CodeView::applyRenderOptions(const RenderOptions& options) {
  setFont(codeFont(options));
  const int tabTwips = static_cast<int>(options.tabWidthMm / 10.0 * kTwipsPerCentimetre);
  setTabStopDistance(static_cast<double>(tabTwips) * logicalDpiX() / kTwipsPerInch);
}

// One edit block, so the layout runs once for the whole module.
void CodeView::buildDocument() {
  const QString documentText = documentTextOf(styled_.text);
  const std::array<QColor, 4> colours = colourTable(options_);
  const QTextCharFormat plain = formatOf(colours[kPlainColour], false);

  QTextDocument* doc = document();
  doc->clear();
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  const auto insert = [&](int from, int to, const QTextCharFormat& format) {
    if (to > from) cursor.insertText(documentText.mid(from, to - from), format);
  };
  int done = 0;
  for (const StyleRun& run : styled_.runs) {
    const int from = lines_.documentPosition(run.start);
    const int to = lines_.documentPosition(run.start + run.length);
    const std::size_t colour = static_cast<std::size_t>(std::clamp(run.colour, 0, 3));
    insert(done, from, plain);
    insert(from, to, formatOf(colours[colour], run.bold));
    done = std::max(done, to);
  }
  insert(done, static_cast<int>(documentText.size()), plain);
  cursor.endEditBlock();
  setCaret(0);
}

StyledText CodeView::styledRange(std::size_t from, std::size_t to) const {
  to = std::min(to, styled_.text.size());
  from = std::min(from, to);
  StyledText range;
  range.text = styled_.text.substr(from, to - from);
  for (const StyleRun& run : styled_.runs) {
    const std::size_t start = std::max(run.start, from);
    const std::size_t end = std::min(run.start + run.length, to);
    if (start < end) range.runs.push_back({start - from, end - start, run.colour, run.bold});
  }
  return range;
}

std::size_t CodeView::caretOffset() const { return lines_.offsetOfDocumentPosition(textCursor().selectionStart()); }

std::size_t CodeView::selectionLength() const {
  const QTextCursor cursor = textCursor();
  return lines_.offsetOfDocumentPosition(cursor.selectionEnd()) -
         lines_.offsetOfDocumentPosition(cursor.selectionStart());
}

void CodeView::setSelection(std::size_t start, std::size_t length) {
  const std::size_t size = styled_.text.size();
  start = std::min(start, size);
  const std::size_t end = start + std::min(length, size - start);
  QTextCursor cursor(document());
  cursor.setPosition(lines_.documentPosition(start));
  cursor.setPosition(lines_.documentPosition(end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void CodeView::scrollLineToTop(std::size_t line) {
  verticalScrollBar()->setValue(static_cast<int>(std::min<std::size_t>(line, std::numeric_limits<int>::max())));
}

void CodeView::keyReleaseEvent(QKeyEvent* event) {
  QPlainTextEdit::keyReleaseEvent(event);
  emit caretActivity();
}

void CodeView::mousePressEvent(QMouseEvent* event) {
  // The popup's commands work on the word at the caret, and here a right click
  // leaves the caret alone: it goes where the click is, unless the click falls
  // into the selection, which stays for the popup's copy commands.
  if (event->button() == Qt::RightButton) {
    const QTextCursor clicked = cursorForPosition(event->position().toPoint());
    const QTextCursor current = textCursor();
    if (clicked.position() < current.selectionStart() || clicked.position() > current.selectionEnd()) {
      setTextCursor(clicked);
      emit caretActivity();
    }
  }
  QPlainTextEdit::mousePressEvent(event);
}

void CodeView::mouseReleaseEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit caretActivity();
}

}  // namespace cq
