#pragma once
// A read-only view of one module's coloured code. Every position it takes or
// reports is a byte offset in its UTF-8 text (the line map turns them into the
// document's positions), so positions agree with the module text, the code
// database's line numbers and the search.
#include <QPlainTextEdit>

#include <cstddef>
#include <string>
#include <string_view>

#include "render/render_options.h"
#include "render/styled_text.h"
#include "ui/code/line_map.h"

namespace cq {

class CodeView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CodeView(QWidget* parent = nullptr);

  // Fills the view with marked-up text, coloured as the RTF rendering colours it.
  void setMarkedText(std::string_view marked, const RenderOptions& options);
  void setStyledText(StyledText styled, const RenderOptions& options);
  void clearText();

  // The shown text (UTF-8) with its original line breaks.
  const std::string& text() const { return styled_.text; }
  const RenderOptions& renderOptions() const { return options_; }
  // The bytes [from, to) of the shown text with their styles.
  StyledText styledRange(std::size_t from, std::size_t to) const;

  // The caret is the start of the selection, wherever the mouse or keys left the cursor.
  std::size_t caretOffset() const;
  std::size_t selectionLength() const;
  void setCaret(std::size_t offset) { setSelection(offset, 0); }
  // Offsets beyond the text count as its end; the view scrolls the selection into sight.
  void setSelection(std::size_t start, std::size_t length);

  std::size_t lineOfOffset(std::size_t offset) const { return lines_.lineOfOffset(offset); }
  std::size_t lineCount() const { return lines_.lineCount(); }
  void scrollLineToTop(std::size_t line);

 signals:
  // A key went up, the left mouse button was released or a right click moved
  // the caret: the caret may stand on another line.
  void caretActivity();

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void applyRenderOptions(const RenderOptions& options);
  void buildDocument();

  StyledText styled_;
  LineMap lines_;
  RenderOptions options_;
};

}  // namespace cq
