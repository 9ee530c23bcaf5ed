// Go to definition and the call list in the real main window, on the
// navigation project with one more module whose routines name Foo only as
// FooBar, as x.Foo, as Foo1 or in a comment or string.
#include "ui/lookup/code_lookup.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <fstream>

#include "support/navigation_project.h"
#include "support/sample_project.h"
#include "ui/navigation_window.h"

namespace cq {

namespace {

using test::NavigationWindow;

// The tree as module names with their routines indented below.
QStringList outline(const QTreeWidget* tree) {
  QStringList lines;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* module = tree->topLevelItem(i);
    lines << module->text(0);
    for (int j = 0; j < module->childCount(); ++j) lines << QStringLiteral("  ") + module->child(j)->text(0);
  }
  return lines;
}

QString keyOf(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }

// Puts the caret right behind the first occurrence of `text` in the shown module.
std::size_t caretBehind(const NavigationWindow& t, const std::string& text) {
  const std::size_t at = t.view().text().find(text);
  if (at == std::string::npos) return 0;
  t.view().setCaret(at + text.size());
  return at + text.size();
}

void openContextMenu(CodeView& view) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), view.viewport()->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(view.viewport(), &event);
}

}  // namespace

class CodeLookupTest : public QObject {
  Q_OBJECT

  test::TempFolder work_;
  std::filesystem::path project() const { return work_.path() / "projekt"; }

 private slots:
  void initTestCase() {
    const auto sources = work_.path() / "quellen";
    test::writeNavigationModules(sources);
    // Module 6, after the navigation project's five.
    std::ofstream(sources / "Zusatz.bas", std::ios::binary)
        << "Attribute VB_Name = \"Zusatz\"\r\n"
           "Option Explicit\r\n\r\n"
           "Public Sub NurFooBar()\r\n    FooBar 2\r\nEnd Sub\r\n\r\n"
           "Public Sub NurPunkt()\r\n    Set o = x.Foo\r\nEnd Sub\r\n\r\n"
           "Public Sub NurText()\r\n    ' Foo\r\n"
           "    Debug.Print \"Foo\", Foo1\r\n    Liste_Fuellen\r\nEnd Sub\r\n";
    QVERIFY(test::readModuleFolder(sources, project()));
  }

  void callListShowsTheCallersLikeTheProjectTree() {
    NavigationWindow t(project());
    CommandTable& commands = t.window->commands();
    QAction* callers = t.command("mnuBearbeiten_Rout");
    QAction* close = t.command("mnuAnsicht_RouClose");
    QVERIFY(callers->isEnabled() && !close->isEnabled());
    // A private routine is looked for in its own module only (Andere calls a Helfer of its own).
    t.open("Haupt", "Helfer");
    callers->trigger();
    QCOMPARE(outline(t.callList()), (QStringList{"Haupt", "  Start"}));
    QCOMPARE(t.window->panes().leftPane(), LeftPane::CallList);
    QVERIFY(t.callList()->isVisible() && !t.projectTree()->isVisible());
    // The call list's strip stands beside the toolbar, which stays.
    QVERIFY(commands.searchToolbar()->isVisible() && commands.mainToolbar()->isVisible());
    QVERIFY(commands.searchToolbar()->geometry().left() >= commands.mainToolbar()->geometry().right());
    QCOMPARE(commands.callListLabel()->text(), QString("Helfer"));
    QVERIFY(close->isEnabled() && commands.toolbarButton("close")->isEnabled());
    // The close button returns to the project tree.
    commands.toolbarButton("close")->trigger();
    QVERIFY(t.callList()->topLevelItemCount() == 0 && !t.callList()->isVisible() && t.projectTree()->isVisible());
    QVERIFY(commands.mainToolbar()->isVisible() && !commands.searchToolbar()->isVisible());
    QVERIFY(commands.callListLabel()->text().isEmpty() && !close->isEnabled());
    // A recursive routine is in its own list; a double click on the routine panel asks.
    t.open("Haupt", "Rechne");
    QTest::mouseDClick(t.window->statusPanels().panel(StatusBar::kRoutinePanel), Qt::LeftButton);
    QCOMPARE(outline(t.callList()), (QStringList{"Haupt", "  Start", "  Rechne"}));
    // Foo: three calls in Helfer give it once; FooBar, Foo1, comments and strings are no calls of Foo, x.Foo is.
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, "Foo");
    t.browser->moduleViews().showModule(0);
    callers->trigger();
    QCOMPARE(outline(t.callList()),
             (QStringList{"Andere", "  Helfer", "  FooBar", "Haupt", "  Start", "Zusatz", "  NurPunkt"}));
    // Keys as in the project tree, modules by number.
    for (QTreeWidgetItem* module : {t.callList()->topLevelItem(0), t.callList()->topLevelItem(2)})
      for (int j = 0; j < module->childCount(); ++j)
        QCOMPARE(keyOf(module->child(j)),
                 keyOf(NavigationWindow::node(t.projectTree(), module->text(0), module->child(j)->text(0))));
    QCOMPARE(keyOf(t.callList()->topLevelItem(2)), QString("M6"));
    // A click on a routine node shows it as the project tree does, with a history entry.
    const int visits = t.browser->history().top();
    NavigationWindow::click(t.callList(), NavigationWindow::node(t.callList(), "Haupt", "Start"));
    QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.panel(StatusBar::kRoutinePanel)}),
             (QStringList{"Haupt", "Start"}));
    QCOMPARE(t.moduleIndex(), 2);
    QCOMPARE(t.caretLine(), 5LL);
    QCOMPARE(t.browser->history().top(), visits + 1);
    // Enter does the same; a module node shows its module from the top.
    t.callList()->setCurrentItem(NavigationWindow::node(t.callList(), "Andere", "FooBar"));
    QTest::keyClick(t.callList(), Qt::Key_Return);
    QCOMPARE(t.moduleIndex(), 0);
    QCOMPARE(t.caretLine(), 11LL);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("FooBar"));
    NavigationWindow::click(t.callList(), NavigationWindow::node(t.callList(), "Zusatz"));
    QCOMPARE(t.moduleIndex(), 5);
    QCOMPARE(t.view().caretOffset(), std::size_t(0));
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());
    QCOMPARE(t.browser->history().top(), visits + 2);
    // Named only in a string: no list, and the list shown before closes.
    t.browser->moduleViews().showModule(0);
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, "Knopfdruck");
    callers->trigger();
    QCOMPARE(t.callList()->topLevelItemCount(), 0);
    QVERIFY(t.projectTree()->isVisible() && !t.callList()->isVisible() && !close->isEnabled());
    QVERIFY(commands.mainToolbar()->isVisible() && commands.callListLabel()->text().isEmpty());
    QCOMPARE(t.panel(StatusBar::kProgressPanel), QString("Keine Aufrufe von Knopfdruck"));
    // A reset of the code view closes the call list too.
    callers->setEnabled(true);
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, "Foo");
    callers->trigger();
    QVERIFY(close->isEnabled() && t.panel(StatusBar::kProgressPanel).isEmpty());
    t.browser->reset();
    QVERIFY(t.callList()->topLevelItemCount() == 0 && !close->isEnabled() && commands.mainToolbar()->isVisible());
    QVERIFY(t.dialogs.requests.empty());
  }

  void definitionJumpsWithTwoHistoryEntries() {
    NavigationWindow t(project());
    t.open("Haupt", "Start");
    QCOMPARE(t.browser->history().top(), 1);
    // The popup names the word under the right click, which puts the caret there,
    // and the routine of the panel.
    caretBehind(t, "    Fo");
    const QPoint onFoo = t.view().cursorRect().center();
    t.view().setCaret(0);
    QTest::mouseClick(t.view().viewport(), Qt::RightButton, {}, onFoo);
    QVERIFY(t.view().caretOffset() > 0);
    openContextMenu(t.view());
    QMenu* popup = t.window->commands().popupMenu("mnuPopUpHaupt");
    QVERIFY(popup->isVisible());
    popup->hide();
    QAction* definitionItem = t.command("mnuPopUpHaupt_Definition");
    QAction* callersItem = t.command("mnuPopUpHaupt_Aufruf");
    QCOMPARE((QStringList{definitionItem->text(), callersItem->text()}),
             (QStringList{"&Definition : Foo", "Aufrufe: Start"}));
    QVERIFY(definitionItem->isEnabled() && callersItem->isEnabled());
    // The item jumps to the public Foo of module 1.
    definitionItem->trigger();
    QCOMPARE(t.moduleIndex(), 0);
    QCOMPARE(t.caretLine(), 7LL);
    QCOMPARE(t.view().text().substr(t.view().caretOffset(), t.view().selectionLength()), std::string("Public"));
    QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.panel(StatusBar::kRoutinePanel)}),
             (QStringList{"Andere", "Foo"}));
    QCOMPARE(NavigationWindow::node(t.projectTree(), "Andere")->background(0).color(), QColor(Qt::black));
    QCOMPARE(NavigationWindow::node(t.projectTree(), "Haupt")->background(0).color(), QColor(Qt::white));
    QCOMPARE(t.browser->history().position(), 2);
    QVERIFY(t.view().hasFocus());
    // Back returns to the line of the jump, not to the routine's first line.
    t.command("mnuBearbeiten_RouBew_3")->trigger();
    QCOMPARE(t.moduleIndex(), 2);
    QCOMPARE(t.caretLine(), 6LL);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Start"));
    // The current module's Private Helfer comes before anything elsewhere; panel 1 stays.
    caretBehind(t, "Call Helf");
    t.command("mnuBearbeiten_Definition")->trigger();
    QCOMPARE(t.moduleIndex(), 2);
    QCOMPARE(t.caretLine(), 17LL);
    QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.panel(StatusBar::kRoutinePanel)}),
             (QStringList{"Haupt", "Helfer"}));
    QCOMPARE(t.browser->history().top(), 2);
    // Nothing to look up: the popup says so by its disabled items.
    NavigationWindow::click(t.projectTree(), NavigationWindow::node(t.projectTree(), "Haupt"));
    openContextMenu(t.view());
    popup->hide();
    QCOMPARE((QStringList{definitionItem->text(), callersItem->text()}), (QStringList{"&Definition ", "Aufrufe"}));
    QVERIFY(!definitionItem->isEnabled() && !callersItem->isEnabled());
    // Without loaded code the module view offers reading instead.
    t.window->setCommandState(CommandState::kNoProject);
    openContextMenu(t.view());
    QMenu* readPopup = t.window->commands().popupMenu("mnuPopUpEinlesen");
    QVERIFY(readPopup->isVisible() && !popup->isVisible());
    readPopup->hide();
    QVERIFY(t.dialogs.requests.empty());
  }

  void messagesLeaveTheStateAsItWas() {
    NavigationWindow t(project());
    // A call list to keep: the Friend Melde of Klasse, called as k.Melde.
    t.open("Klasse", "Melde");
    t.command("mnuBearbeiten_Rout")->trigger();
    QCOMPARE(outline(t.callList()), (QStringList{"Haupt", "  Start"}));
    const auto state = [&t] {
      return QStringList{QString::number(t.moduleIndex()),
                         QString::number(t.view().caretOffset()),
                         t.panel(StatusBar::kModulePanel),
                         t.panel(StatusBar::kRoutinePanel),
                         QString::number(t.browser->history().position()),
                         QString::number(t.browser->history().top()),
                         outline(t.callList()).join(u'|'),
                         t.window->commands().callListLabel()->text()};
    };
    const auto expectMessage = [&t](DialogKind kind, const QString& text) {
      QCOMPARE(t.dialogs.requests.size(), std::size_t(1));
      QCOMPARE(t.dialogs.requests.front().kind, kind);
      QCOMPARE(t.dialogs.requests.front().text, text);
      t.dialogs.requests.clear();
    };
    // The caret on the property's line puts it into the routine panel.
    caretBehind(t, "Property Get W");
    QTest::keyClick(&t.view(), Qt::Key_Shift);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Wert"));
    QStringList before = state();
    t.command("mnuBearbeiten_Rout")->trigger();
    expectMessage(DialogKind::Warning, "Property wird von der Routinensuche nicht unterstützt");
    QCOMPARE(state(), before);
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, "Foo");
    before = state();
    t.command("mnuBearbeiten_Rout")->trigger();
    expectMessage(DialogKind::Warning, "Infos zu Routine nicht gefunden");
    QCOMPARE(state(), before);
    // Types are no routines; a Private routine of another module is never a target.
    caretBehind(t, "As CommandButton");
    before = state();
    t.command("mnuBearbeiten_Definition")->trigger();
    expectMessage(DialogKind::Plain, "Bezeichner unter Cursor nicht erkannt");
    QCOMPARE(state(), before);
    t.browser->moduleViews().showModule(5);
    caretBehind(t, "Liste_Fue");
    before = state();
    t.command("mnuBearbeiten_Definition")->trigger();
    expectMessage(DialogKind::Plain, "Bezeichner unter Cursor nicht erkannt");
    QCOMPARE(state(), before);
    t.browser->moduleViews().showModule(0);
    caretBehind(t, "Helfer");  // Andere's own Private Helfer is found locally
    t.command("mnuBearbeiten_Definition")->trigger();
    QCOMPARE(t.caretLine(), 3LL);
    QCOMPARE(t.dialogs.requests.size(), std::size_t(0));
    // No word at the caret: nothing happens.
    t.view().setCaret(0);
    before = state();
    t.command("mnuBearbeiten_Definition")->trigger();
    QCOMPARE(state(), before);
    QVERIFY(t.dialogs.requests.empty());
    // In zoom the jump is refused; the call list still works.
    t.command("mnuAnsicht_Zoom")->trigger();
    caretBehind(t, "    Foo");
    before = state();
    t.command("mnuBearbeiten_Definition")->trigger();
    expectMessage(DialogKind::Information, "Steht im Zoom Modus nicht zur Verfügung");
    QCOMPARE(state(), before);
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, "FooBar");
    t.command("mnuBearbeiten_Rout")->trigger();
    QCOMPARE(outline(t.callList()), (QStringList{"Haupt", "  Start", "Zusatz", "  NurFooBar"}));
    QVERIFY(t.dialogs.requests.empty());
  }
};

}  // namespace cq

QTEST_MAIN(cq::CodeLookupTest)
#include "code_lookup_test.moc"
