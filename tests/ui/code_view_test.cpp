// The code views: colours and bold as the RTF rendering gives them, byte
// positions, the caret operations, the zoom view and the lazily filled module views.
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <string>
#include <vector>

#include "analysis/identifiers.h"
#include "render/sample_marked_module.h"
#include "render/styled_text.h"
#include "support/temp_folder.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/code/text_operations.h"
#include "ui/code/windows1252_text.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;
using test::literal;

RenderOptions distinctColours() {
  RenderOptions options;
  options.keywordColour = 0x123456;  // red 0x56, green 0x34, blue 0x12
  options.commentColour = 0x00A000;
  options.stringColour = 0x0000C0;
  return options;
}

// The format of the character at byte `offset`.
QTextCharFormat formatAt(CodeView& view, std::size_t offset) {
  view.setSelection(offset, 1);
  QTextCursor cursor = view.textCursor();
  cursor.setPosition(cursor.selectionEnd());
  return cursor.charFormat();
}

QColor expectedColour(int colourIndex, const RenderOptions& options) {
  const auto fromSetting = [](std::int32_t v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); };
  switch (colourIndex) {
    case kKeywordColour: return fromSetting(options.keywordColour);
    case kCommentColour: return fromSetting(options.commentColour);
    case kStringColour: return fromSetting(options.stringColour);
    default: return QColor(Qt::black);
  }
}

// Compares every character but the line breaks with the style the decoded text gives it.
void verifyStyles(CodeView& view, const StyledText& expected, const RenderOptions& options) {
  std::vector<StyleRun> styleOf(expected.text.size());
  for (const StyleRun& run : expected.runs)
    for (std::size_t i = run.start; i < run.start + run.length; ++i) styleOf[i] = run;
  for (std::size_t i = 0; i < expected.text.size(); ++i) {
    if (expected.text[i] == '\r' || expected.text[i] == '\n') continue;
    const QTextCharFormat format = formatAt(view, i);
    QVERIFY2(format.foreground().color() == expectedColour(styleOf[i].colour, options),
             qPrintable(QStringLiteral("colour at %1").arg(i)));
    QVERIFY2((format.fontWeight() == QFont::Bold) == styleOf[i].bold, qPrintable(QStringLiteral("weight at %1").arg(i)));
  }
}

std::string selectedText(const CodeView& view) { return view.text().substr(view.caretOffset(), view.selectionLength()); }

const std::string kCrLf = "\r\n";

std::string moduleFileName(std::size_t number) {
  std::string name = "M";
  name += std::to_string(number);
  name += ".txt";
  return name;
}

// Lines 1-2 declarations, 3-5 a routine, 6-8 another one.
std::string markedModuleWithRoutines() {
  std::string m;
  m += keyword("Option") + " " + keyword("Explicit") + kCrLf;
  m += keyword("Dim") + " x " + keyword("As") + " " + keyword("Long") + kCrLf;
  m += boldLine(keyword("Sub") + " Foo()") + kCrLf;
  m += "\tx = " + literal("\"a\"") + " " + comment("' c") + kCrLf;
  m += boldLine(keyword("End") + " " + keyword("Sub")) + kCrLf;
  m += boldLine(keyword("Function") + " Bar()") + kCrLf;
  m += "\t\tBar = 1" + kCrLf;
  m += boldLine(keyword("End") + " " + keyword("Function")) + kCrLf;
  return m;
}

}  // namespace

class CodeViewTest : public QObject {
  Q_OBJECT

 private slots:
  void coloursAndBoldFollowTheMarkers() {
    const RenderOptions options = distinctColours();
    CodeView view;
    view.setMarkedText(test::sampleMarkedModule(), options);
    const StyledText expected = decodeMarkedText(test::sampleMarkedModule(), true);
    QCOMPARE(view.text(), expected.text);
    verifyStyles(view, expected, options);

    const std::size_t function = expected.text.find("Function");
    QCOMPARE(formatAt(view, function).foreground().color(), QColor(0x56, 0x34, 0x12));
    QCOMPARE(formatAt(view, function).fontWeight(), int(QFont::Bold));

    RenderOptions notBold = options;
    notBold.boldRoutineLines = false;
    view.setMarkedText(test::sampleMarkedModule(), notBold);
    QCOMPARE(formatAt(view, function).fontWeight(), int(QFont::Normal));
    QCOMPARE(formatAt(view, function).foreground().color(), QColor(0x56, 0x34, 0x12));
  }

  void viewIsReadOnlyWithCaretAndWithoutWrapping() {
    RenderOptions options;
    options.tabWidthMm = 10;
    CodeView view;
    view.setMarkedText("a\tb\r\n", options);
    QVERIFY(view.isReadOnly());
    QVERIFY(view.textInteractionFlags() & Qt::TextSelectableByKeyboard);
    QCOMPARE(view.lineWrapMode(), QPlainTextEdit::NoWrap);
    // 10 mm are 567 twips, 1440 twips an inch.
    QCOMPARE(view.tabStopDistance(), 567.0 * view.logicalDpiX() / 1440.0);
    QCOMPARE(view.font().pointSize(), 10);

    // A font this system lacks gives way to the fixed-width system font.
    options.fontName = "Kein Font dieses Namens";
    options.fontSize = 14;
    view.setMarkedText("a\r\n", options);
    QCOMPARE(view.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    QCOMPARE(view.font().pointSize(), 14);
    const QString installed = QFontDatabase::families().value(0);
    if (!installed.isEmpty()) {
      options.fontName = installed.toStdString();
      view.setMarkedText("a\r\n", options);
      QCOMPARE(view.font().family(), installed);
    }
  }

  void positionsAreBytePositions() {
    // Umlauts, the euro sign (0x80) and a dash (0x96) are one byte and one position each.
    const std::string line1 = "Dim Gr\xF6\xDF" "e \x80 \x96 \xC4nderung";
    // Besides CR LF, a lone LF and a lone CR end a line too, as in the document.
    const std::string text = line1 + kCrLf + "x\n" + "y\r" + kCrLf + "Ende";
    CodeView view;
    view.setMarkedText(text, RenderOptions{});
    QCOMPARE(view.text(), text);
    QCOMPARE(view.lineCount(), std::size_t{5});
    QCOMPARE(view.document()->blockCount(), 5);

    const QString shown = windows1252ToQString(text);
    QCOMPARE(shown.size(), qsizetype(text.size()));
    for (std::size_t offset = 0; offset <= text.size(); ++offset) {
      view.setCaret(offset);
      const bool insideLineBreak = offset > 0 && text[offset - 1] == '\r' && text[offset] == '\n';
      QCOMPARE(view.caretOffset(), insideLineBreak ? offset - 1 : offset);
      if (offset < text.size() && text[offset] != '\r' && text[offset] != '\n') {
        view.setSelection(offset, 1);
        QCOMPARE(view.textCursor().selectedText(), QString(shown[qsizetype(offset)]));
      }
    }
    const std::size_t afterName = line1.find(' ', 4);
    view.setCaret(afterName);
    QCOMPARE(wordAtCaret(view.text(), view.caretOffset()), std::string("Gr\xF6\xDF" "e"));
    QCOMPARE(view.lineOfOffset(text.find("Ende")), std::size_t{4});
    QCOMPARE(view.lineOfOffset(text.find('x')), std::size_t{1});
    QCOMPARE(view.lineOfOffset(text.find('y')), std::size_t{2});
    QCOMPARE(view.lineOfOffset(text.size() + 5), std::size_t{4});

    // The standard copy takes the selected characters.
    view.setSelection(line1.find("Gr"), 5);
    view.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("Gr\u00F6\u00DFe"));

    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
    QCOMPARE(windows1252ToQString(everyByte).size(), qsizetype(everyByte.size()));
    QCOMPARE(qStringToWindows1252(windows1252ToQString(everyByte)), everyByte);
    QCOMPARE(windows1252ToQString("\x80\x9F\xE4"), QString::fromUtf8("\u20AC\u0178\u00E4"));
    QCOMPARE(qStringToWindows1252(QString::fromUtf8("\u4E2D\u20AC")), std::string("?\x80"));
  }

  void goToLineSelectsTheFirstWord() {
    const std::string text = "Option Explicit\r\n\r\n\tDim x As Long\r\nSub Foo()\r\n\t\tCall Bar(1)\r\nEnd Sub\r\n";
    CodeView view;
    view.setMarkedText(text, RenderOptions{});

    QVERIFY(goToLine(view, 1));
    QCOMPARE(view.caretOffset(), std::size_t{0});
    QCOMPARE(selectedText(view), std::string("Option"));

    QVERIFY(goToLine(view, 5));
    QCOMPARE(caretLine(view), std::size_t{4});
    QCOMPARE(selectedText(view), std::string("\t\tCall"));

    QVERIFY(goToLine(view, 3));
    QCOMPARE(selectedText(view), std::string("\tDim"));

    QVERIFY(goToLine(view, 2));  // an empty line is not skipped
    QCOMPARE(caretLine(view), std::size_t{1});
    QCOMPARE(view.caretOffset(), text.find("\r\n\r\n") + 2);

    QVERIFY(goToLine(view, 6));
    QCOMPARE(selectedText(view), std::string("End"));

    // The caret put in the middle of a line: the selection starts at the line's start.
    view.setCaret(text.find("Bar"));
    selectFirstWordOfLine(view);
    QCOMPARE(selectedText(view), std::string("\t\tCall"));

    QVERIFY(!goToLine(view, 100));  // gives up: the caret stays at the end
    QCOMPARE(view.caretOffset(), text.size());
    QCOMPARE(view.selectionLength(), std::size_t{0});
  }

  void goToLineFindsEveryLineOfALongModule() {
    std::string text;
    std::vector<std::size_t> lineStarts;
    for (int i = 1; i <= 5000; ++i) {
      lineStarts.push_back(text.size());
      text += std::string(static_cast<std::size_t>(i % 4), '\t') + "Zeile" + std::to_string(i) + " = " +
              std::string(static_cast<std::size_t>(i % 37), 'x') + kCrLf;
    }
    CodeView view;
    view.resize(400, 300);
    view.setMarkedText(text, RenderOptions{});
    for (int line : {1, 2, 3, 777, 2500, 4998, 4999, 5000}) {
      QVERIFY2(goToLine(view, line), qPrintable(QString::number(line)));
      QCOMPARE(caretLine(view), std::size_t(line - 1));
      QCOMPARE(view.caretOffset(), lineStarts[std::size_t(line - 1)]);
      QCOMPARE(selectedText(view), std::string(static_cast<std::size_t>(line % 4), '\t') + "Zeile" + std::to_string(line));
    }
    QVERIFY(goToLine(view, 2500));
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
    QCOMPARE(zoom.document()->toPlainText(), QStringLiteral("Sub Foo()\n\tx = \"a\" ' c\nEnd Sub"));
    const std::size_t routineStart = module.text().find("Sub Foo");
    QCOMPARE(module.caretOffset(), routineStart);
    QCOMPARE(module.selectionLength(), std::size_t{1});
    verifyStyles(zoom, module.styledRange(routineStart, routineStart + routine.size()), options);
    verifyStyles(module, decodeMarkedText(marked, true), options);  // the zoom left the module untouched
    QCOMPARE(formatAt(zoom, 0).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(zoom, routine.find("\"a\"")).foreground().color(), QColor(0xC0, 0, 0));

    QVERIFY(fillZoomForLine(module, zoom, {1, 2}));  // the declarations
    QCOMPARE(zoom.text(), std::string("Option Explicit\r\nDim x As Long"));

    QVERIFY(fillZoomForLine(module, zoom, {6, 8}));  // the last routine, up to the end of its line
    QCOMPARE(zoom.text(), std::string("Function Bar()\r\n\t\tBar = 1\r\nEnd Function"));

    QVERIFY(!fillZoomForLine(module, zoom, {0, 0}));  // no range: the zoom keeps what it shows
    QCOMPARE(zoom.text(), std::string("Function Bar()\r\n\t\tBar = 1\r\nEnd Function"));
  }

  void moduleViewsAreNamedAndFilledOnDemand() {
    const RenderOptions options = distinctColours();
    test::TempFolder folder;
    const std::vector<std::string> modules = {markedModuleWithRoutines(), test::sampleMarkedModule(),
                                              keyword("Option") + " " + keyword("Explicit") + kCrLf};
    for (std::size_t i = 0; i < modules.size(); ++i) folder.writeFile(moduleFileName(i + 1), modules[i]);

    ModuleViews views;
    views.resize(600, 400);
    views.loadProject(folder.path(), 3, options);
    QCOMPARE(views.count(), 3);
    QCOMPARE(views.currentIndex(), 0);
    std::vector<CodeView*> named;
    for (int i = 0; i < 3; ++i) {
      named.push_back(views.findChild<CodeView*>(QStringLiteral("rtbHaupt_%1").arg(i)));
      QVERIFY(named.back() != nullptr);
    }
    QCOMPARE(named[0]->text(), plainTextOfMarked(modules[0]));
    QVERIFY(named[1]->document()->isEmpty());
    QVERIFY(named[2]->document()->isEmpty());
    QCOMPARE(views.textOf(1), plainTextOfMarked(modules[1]));
    QCOMPARE(views.textOf(2), plainTextOfMarked(modules[2]));
    QVERIFY(named[1]->document()->isEmpty());  // reading the text did not build the view
    QCOMPARE(views.textOf(3), std::string());

    views.showModule(1);
    QCOMPARE(views.currentIndex(), 1);
    QCOMPARE(&views.current(), named[1]);
    QVERIFY(!named[1]->document()->isEmpty());
    QVERIFY(named[1]->isVisibleTo(&views));
    QVERIFY(!named[0]->isVisibleTo(&views));
    verifyStyles(*named[1], decodeMarkedText(modules[1], true), options);
    QCOMPARE(views.textOf(1), plainTextOfMarked(modules[1]));

    views.showModule(7);  // no such module: nothing changes
    QCOMPARE(views.currentIndex(), 1);

    QSignalSpy caretSpy(&views, &ModuleViews::caretActivity);
    QTest::keyClick(named[1], Qt::Key_Down);
    QCOMPARE(caretSpy.count(), 1);
    QCOMPARE(caretSpy.at(0).at(0).toInt(), 1);

    views.reset();
    QCOMPARE(views.count(), 1);
    QCOMPARE(views.currentIndex(), 0);
    QVERIFY(views.findChild<CodeView*>(QStringLiteral("rtbHaupt_1")) == nullptr);
    QVERIFY(views.findChild<CodeView*>(QStringLiteral("rtbHaupt_2")) == nullptr);
    QCOMPARE(views.findChild<CodeView*>(QStringLiteral("rtbHaupt_0")), named[0]);
    QVERIFY(named[0]->text().empty());
    QVERIFY(named[0]->document()->isEmpty());
  }

  void unreadableModuleLeavesAnEmptyView() {
    test::TempFolder folder;
    folder.writeFile(moduleFileName(1), "Sub A()\r\nEnd Sub\r\n");
    ModuleViews views;
    QSignalSpy unreadable(&views, &ModuleViews::moduleUnreadable);
    views.loadProject(folder.path(), 2, RenderOptions{});
    QCOMPARE(unreadable.count(), 0);
    views.showModule(1);
    QCOMPARE(unreadable.count(), 1);
    QCOMPARE(unreadable.at(0).at(0).toInt(), 1);
    QVERIFY(!unreadable.at(0).at(1).toString().isEmpty());
    QVERIFY(views.current().text().empty());
  }

  void zoomLiesOverTheCurrentView() {
    test::TempFolder folder;
    folder.writeFile(moduleFileName(1), markedModuleWithRoutines());
    folder.writeFile(moduleFileName(2), "x\r\n");
    ModuleViews views;
    views.resize(600, 400);
    views.loadProject(folder.path(), 2, RenderOptions{});
    views.show();
    CodeView* zoom = views.findChild<CodeView*>(QStringLiteral("rtbZoom"));
    QVERIFY(zoom == &views.zoomView());
    QVERIFY(!views.isZoomVisible());

    views.setZoomVisible(true);
    QVERIFY(views.isZoomVisible());
    QCOMPARE(zoom->geometry(), views.current().geometry());
    QCOMPARE(zoom->geometry(), views.rect());
    const auto coversCentre = [&] {
      QWidget* top = views.childAt(views.rect().center());
      return top != nullptr && (top == zoom || zoom->isAncestorOf(top));
    };
    QVERIFY(coversCentre());

    views.showModule(1);
    QCOMPARE(zoom->geometry(), views.current().geometry());
    QVERIFY(coversCentre());
    views.resize(800, 500);
    QCOMPARE(views.current().geometry(), QRect(0, 0, 800, 500));
    QCOMPARE(zoom->geometry(), views.current().geometry());
    QVERIFY(coversCentre());

    views.setZoomVisible(false);
    QVERIFY(!views.isZoomVisible());
    QVERIFY(!coversCentre());
  }
};

}  // namespace cq

QTEST_MAIN(cq::CodeViewTest)
#include "code_view_test.moc"
