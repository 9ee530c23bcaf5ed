// The code views: colours and bold from the marked text, byte positions, caret
// operations, the zoom view and the lazily filled module views.
#include <QFontDatabase>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <string>
#include <vector>

#include "render/sample_marked_module.h"
#include "render/styled_text.h"
#include "support/temp_folder.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/code/text_operations.h"
#include "app/text_boundary.h"
#include "text/text_decoding.h"
#include "text/utf8.h"

namespace cq {
namespace {

using test::boldLine;
using test::keyword;

RenderOptions distinctColours() {
  RenderOptions options;
  options.keywordColour = 0x123456;  // red 0x56, green 0x34, blue 0x12
  options.commentColour = 0x00A000;
  options.stringColour = 0x0000C0;
  return options;
}

QTextCharFormat formatAt(CodeView& view, std::size_t offset) {
  view.setSelection(offset, 1);
  QTextCursor cursor = view.textCursor();
  cursor.setPosition(cursor.selectionEnd());
  return cursor.charFormat();
}

// Every character but the line breaks has the colour and weight the decoded text gives it.
void verifyStyles(CodeView& view, const StyledText& expected, const RenderOptions& options) {
  const auto colour = [&](int index) {
    const std::int32_t v = index == kKeywordColour   ? options.keywordColour
                           : index == kCommentColour ? options.commentColour
                           : index == kStringColour  ? options.stringColour
                                                     : 0;
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  };
  std::vector<StyleRun> styleOf(expected.text.size());
  for (const StyleRun& run : expected.runs)
    for (std::size_t i = run.start; i < run.start + run.length; ++i) styleOf[i] = run;
  for (std::size_t i = 0; i < expected.text.size(); ++i) {
    if (expected.text[i] == '\r' || expected.text[i] == '\n') continue;
    const QTextCharFormat format = formatAt(view, i);
    QVERIFY2(format.foreground().color() == colour(styleOf[i].colour), qPrintable(QString("colour at %1").arg(i)));
    QVERIFY2((format.fontWeight() == QFont::Bold) == styleOf[i].bold, qPrintable(QString("weight at %1").arg(i)));
  }
}

std::string selectedText(const CodeView& view) { return view.text().substr(view.caretOffset(), view.selectionLength()); }

// Lines 1-2 declarations, 3-5 a routine, 6-8 another one.
std::string markedModuleWithRoutines() {
  return keyword("Option") + " " + keyword("Explicit") + "\r\n" + keyword("Dim") + " x " + keyword("As") + " " +
         keyword("Long") + "\r\n" + boldLine(keyword("Sub") + " Foo()") + "\r\n\tx = " + test::literal("\"a\"") +
         " " + test::comment("' c") + "\r\n" + boldLine(keyword("End") + " " + keyword("Sub")) + "\r\n" +
         boldLine(keyword("Function") + " Bar()") + "\r\n\t\tBar = 1\r\n" +
         boldLine(keyword("End") + " " + keyword("Function")) + "\r\n";
}

}  // namespace

class CodeViewTest : public QObject {
  Q_OBJECT

 private slots:
  void coloursBoldAndFont() {
    RenderOptions options = distinctColours();
    CodeView view;
    view.setMarkedText(test::sampleMarkedModule(), options);
    const StyledText expected = decodeMarkedText(test::sampleMarkedModule(), true);
    QCOMPARE(view.text(), expected.text);
    verifyStyles(view, expected, options);
    const std::size_t function = expected.text.find("Function");
    options.boldRoutineLines = false;
    options.tabWidthMm = 10;  // 567 twips, 1440 twips an inch
    options.fontName = "Kein Font dieses Namens";  // gives way to the fixed-width system font
    options.fontSize = 14;
    view.setMarkedText(test::sampleMarkedModule(), options);
    QCOMPARE(formatAt(view, function).fontWeight(), int(QFont::Normal));
    QCOMPARE(formatAt(view, function).foreground().color(), QColor(0x56, 0x34, 0x12));
    QVERIFY(view.isReadOnly() && view.lineWrapMode() == QPlainTextEdit::NoWrap);
    QCOMPARE(view.tabStopDistance(), 567.0 * view.logicalDpiX() / 1440.0);
    QCOMPARE(view.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    QCOMPARE(view.font().pointSize(), 14);
    options.fontName = QFontDatabase::families().value(0, view.font().family()).toStdString();
    view.setMarkedText("a\r\n", options);
    QCOMPARE(view.font().family().toStdString(), options.fontName);
  }

  void positionsAreCharacterBoundaries() {
    // Engine offsets are UTF-8 bytes, view positions UTF-16 units: umlauts and Cyrillic are two
    // bytes and one unit, the euro sign and kanji three bytes and one unit, an emoji four bytes
    // and two units; a lone LF and a lone CR end a line too.
    const std::string line1 = "Dim Größe € – Änderung Цвет 日本 😀!";
    const std::string text = line1 + "\r\nx\ny\r\r\nЕнде";
    CodeView view;
    view.setMarkedText(text, RenderOptions{});
    QCOMPARE(view.text(), text);
    QVERIFY(view.lineCount() == 5 && view.document()->blockCount() == 5);
    std::size_t characters = 0;
    for (std::size_t offset = 0; offset <= text.size(); utf8::next(text, offset), ++characters) {
      if (offset == text.size()) break;
      view.setCaret(offset);
      const bool insideLineBreak = offset > 0 && text[offset - 1] == '\r' && text[offset] == '\n';
      QCOMPARE(view.caretOffset(), insideLineBreak ? offset - 1 : offset);
      if (text[offset] != '\r' && text[offset] != '\n') {
        std::size_t next = offset;
        utf8::next(text, next);
        view.setSelection(offset, next - offset);
        QCOMPARE(toEngineText(view.textCursor().selectedText()), text.substr(offset, next - offset));
        QCOMPARE(view.selectionLength(), next - offset);
      }
    }
    view.setCaret(text.size());
    QCOMPARE(view.caretOffset(), text.size());
    for (auto [at, line] : {std::pair{text.find('x'), 1}, {text.find('y'), 2}, {text.find("Енде"), 4},
                            {text.size() + 5, 4}})
      QCOMPARE(view.lineOfOffset(at), std::size_t(line));
    // Text crosses into Qt and back without loss.
    const std::string everyScript = "äöü € Ÿ Цвет ΟΔΟΣ 日本語 한국어 😀";
    QCOMPARE(toEngineText(toQString(everyScript)), everyScript);
  }

  void goToLineSelectsTheFirstWord() {
    const std::string text = "Option Explicit\r\n\r\n\tDim x As Long\r\nSub Foo()\r\n\t\tCall Bar(1)\r\nEnd Sub\r\n";
    CodeView view;
    view.setMarkedText(text, RenderOptions{});
    QVERIFY(goToLine(view, 2));  // an empty line is not skipped
    QCOMPARE(view.caretOffset(), text.find("\r\n\r\n") + 2);
    view.setCaret(text.find("Bar"));  // from mid-line the selection starts at the line's start
    selectFirstWordOfLine(view);
    QCOMPARE(selectedText(view), std::string("\t\tCall"));
    QVERIFY(!goToLine(view, 100));  // gives up: the caret stays at the end
    QVERIFY(view.caretOffset() == text.size() && view.selectionLength() == 0);

    std::string longText;
    std::vector<std::size_t> lineStarts;
    const auto firstWord = [](int i) { return std::string(std::size_t(i % 4), '\t') + "Zeile" + std::to_string(i); };
    for (int i = 1; i <= 5000; ++i) {
      lineStarts.push_back(longText.size());
      longText += firstWord(i) + " = " + std::string(std::size_t(i % 37), 'x') + "\r\n";
    }
    view.resize(400, 300);
    view.setMarkedText(longText, RenderOptions{});
    for (int line : {1, 2, 777, 4999, 5000, 2500}) {
      QVERIFY2(goToLine(view, line), qPrintable(QString::number(line)));
      QCOMPARE(view.caretOffset(), lineStarts[std::size_t(line - 1)]);
      QCOMPARE(selectedText(view), firstWord(line));
    }
    QCOMPARE(view.verticalScrollBar()->value(), 2499);  // the line stands at the top
  }

  void zoomShowsExactlyTheRoutineColoured() {
    const RenderOptions options = distinctColours();
    const std::string marked = markedModuleWithRoutines();
    CodeView module;
    CodeView zoom;
    module.setMarkedText(marked, options);
    QVERIFY(fillZoomForLine(module, zoom, {3, 5}));
    const std::string routine = "Sub Foo()\r\n\tx = \"a\" ' c\r\nEnd Sub";
    QCOMPARE(zoom.text(), routine);
    const std::size_t routineStart = module.text().find("Sub Foo");
    QVERIFY(module.caretOffset() == routineStart && module.selectionLength() == 1);
    verifyStyles(zoom, module.styledRange(routineStart, routineStart + routine.size()), options);
    verifyStyles(module, decodeMarkedText(marked, true), options);  // the module is left untouched

    QVERIFY(fillZoomForLine(module, zoom, {1, 2}));
    QCOMPARE(zoom.text(), std::string("Option Explicit\r\nDim x As Long"));
    QVERIFY(fillZoomForLine(module, zoom, {6, 8}));  // the last routine, up to the end of its line
    QVERIFY(!fillZoomForLine(module, zoom, {0, 0}));  // no range: the zoom keeps what it shows
    QCOMPARE(zoom.text(), std::string("Function Bar()\r\n\t\tBar = 1\r\nEnd Function"));
  }

  void moduleViewsAreFilledOnDemand() {
    RenderOptions options = distinctColours();
    test::TempFolder root;
    const std::filesystem::path folder = root.path() / "Übersicht";  // file names are UTF-8 on disk
    const std::vector<std::string> modules = {markedModuleWithRoutines(), test::sampleMarkedModule(),
                                              keyword("Option") + "\r\n"};
    for (const char* name : {"M1.txt", "M2.txt", "M3.txt"})
      root.writeFile(folder / name, encodeModuleFileText(modules[std::size_t(name[1] - '1')]));
    ModuleViews views([&] { return options; });
    QSignalSpy unreadable(&views, &ModuleViews::moduleUnreadable);
    views.loadProject(folder, 4);  // the fourth module has no file
    QVERIFY(views.count() == 4 && views.currentIndex() == 0);
    std::vector<CodeView*> named;
    for (int i = 0; i < 3; ++i) named.push_back(views.findChild<CodeView*>(QString("rtbHaupt_%1").arg(i)));
    QCOMPARE(named[0]->text(), plainTextOfMarked(modules[0]));
    for (int i : {1, 2}) {
      QCOMPARE(views.textOf(i), plainTextOfMarked(modules[std::size_t(i)]));
      QVERIFY(named[std::size_t(i)]->document()->isEmpty());  // reading the text did not build the view
    }
    QCOMPARE(views.textOf(4), std::string());

    views.showModule(1);
    QVERIFY(&views.current() == named[1] && named[1]->isVisibleTo(&views) && !named[0]->isVisibleTo(&views));
    verifyStyles(*named[1], decodeMarkedText(modules[1], true), options);
    // Options changed meanwhile apply when a view is shown next, the one shown
    // included; its caret stays.
    named[1]->setCaret(7);
    views.showModule(0);
    options.keywordColour = 0x0000FF;
    options.fontSize = 15;
    options.boldRoutineLines = false;
    verifyStyles(*named[0], decodeMarkedText(modules[0], true), distinctColours());  // nothing redrawn by itself
    views.showModule(1);
    QCOMPARE(named[1]->caretOffset(), std::size_t{7});
    QCOMPARE(named[1]->font().pointSize(), 15);
    verifyStyles(*named[1], decodeMarkedText(modules[1], false), options);
    views.showModule(7);  // no such module: nothing changes
    QCOMPARE(views.currentIndex(), 1);
    // The zoom view lies exactly over whichever view is current.
    views.resize(600, 400);
    views.show();
    CodeView* zoom = &views.zoomView();
    const auto zoomCovers = [&] {
      QWidget* top = views.childAt(views.rect().center());
      return zoom->geometry() == views.current().geometry() && top != nullptr &&
             (top == zoom || zoom->isAncestorOf(top));
    };
    QVERIFY(!views.isZoomVisible());
    views.setZoomVisible(true);
    QVERIFY(views.isZoomVisible() && zoom->geometry() == views.rect() && zoomCovers());
    views.showModule(2);
    views.resize(800, 500);
    QVERIFY(views.current().geometry() == QRect(0, 0, 800, 500) && zoomCovers());
    views.setZoomVisible(false);
    QVERIFY(!views.isZoomVisible() && !zoomCovers());

    QCOMPARE(unreadable.count(), 0);
    views.showModule(3);
    QVERIFY(unreadable.count() == 1 && unreadable.at(0).at(0).toInt() == 3);
    QVERIFY(views.current().text().empty());
    const QString message = toQString(unreadable.at(0).at(1).value<Failure>().message);
    QVERIFY2(message.contains(QString::fromUtf8((folder / "M4.txt").native())), qPrintable(message));
    views.reset();  // the rest of a reset: see the browser test
    QVERIFY(views.findChild<CodeView*>(QString("rtbHaupt_0")) == named[0] && named[0]->document()->isEmpty());
  }
};

}  // namespace cq

QTEST_MAIN(cq::CodeViewTest)
#include "code_view_test.moc"
