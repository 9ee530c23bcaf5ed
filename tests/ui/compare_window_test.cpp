// "Projekte vergleichen ..." in the real main window: a workbook against a
// folder of module files, the tree of changed modules and routines, the two
// codes side by side with the changed lines marked, and a source that is missing.
#include "ui/compare/compare_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "app/settings_store.h"
#include "support/office_file_writer.h"
#include "support/temp_folder.h"
#include "support/vba_project_writer.h"
#include "ui/code/code_view.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/session/session.h"
#include "ui/test_app_state.h"

namespace cq {

namespace {

QString text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

QStringList rows(const QTreeWidget* tree) {
  QStringList lines;
  for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
    lines << QString((*it)->parent() ? "  " : "") + (*it)->text(0) + " | " + (*it)->text(1);
  return lines;
}

// The lines of the view that carry a background of their own.
QList<int> markedLines(const CodeView* view) {
  QList<int> lines;
  for (const QTextEdit::ExtraSelection& selection : view->extraSelections()) lines << selection.cursor.blockNumber();
  return lines;
}

}  // namespace

class CompareWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void comparesAWorkbookWithAFolderRoutineByRoutine() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    AppState state = test::testAppState(root.path());
    ScriptedDialogs dialogs;
    auto window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    auto session = std::make_unique<Session>(*window, state, settings);

    test::VbaProjectPlan plan;
    plan.modules = {{"Rechnen", "", 1, "Option Explicit\r\n\r\nSub Summe()\r\n  s = 1 + 2\r\nEnd Sub\r\n\r\n"
                                       "Sub Rest()\r\n  r = 7 Mod 2\r\nEnd Sub\r\n"},
                    {"Alt", "", 1, "Sub Hilfe()\r\n  Debug.Print \"Hilfe\"\r\nEnd Sub\r\n"}};
    const auto workbook = root.writeFile("Mappe.xlsm", test::macroWorkbookBytes(test::buildVbaProjectStreams(plan)));
    root.writeFile("neu/Rechnen.bas", "Attribute VB_Name = \"Rechnen\"\r\nOption Explicit\r\n\r\nSub Summe()\r\n"
                                      "  s = 1 + 3\r\nEnd Sub\r\n\r\nSub Rest()\r\n  r = 7 Mod 2\r\nEnd Sub\r\n");
    root.writeFile("neu/Neu.bas", "Attribute VB_Name = \"Neu\"\r\nSub Hilfe()\r\n  Debug.Print \"Hilfe\"\r\nEnd Sub\r\n");

    QAction* command = window->commands().action("mnuProjekteVergleichen");
    QCOMPARE(command->text(), QString("Projekte vergleichen ..."));
    QVERIFY(command->isEnabled());
    QVERIFY(window->findChild<QMenu*>("mnuDatei")->actions().contains(command));
    command->trigger();
    auto* compare = window->findChild<CompareWindow*>("frmVergleich");
    QVERIFY(compare && compare->isVisible() && compare->isWindow());

    // The older source through its dialog, the newer one typed.
    dialogs.replies.push_back(DialogReply{Answer::Ok, {}, {text(workbook)}});
    QTest::mouseClick(compare->findChild<QPushButton*>("cmdAltDokument"), Qt::LeftButton);
    QCOMPARE(dialogs.requests.back().kind, DialogKind::Files);
    QCOMPARE(compare->findChild<QLineEdit*>("txtAlt")->text(), text(workbook));
    compare->findChild<QLineEdit*>("txtNeu")->setText(text(root.path() / "neu"));
    QTest::mouseClick(compare->findChild<QPushButton*>("cmdVergleichen"), Qt::LeftButton);

    auto* tree = compare->findChild<QTreeWidget*>("treVergleich");
    QCOMPARE(compare->findChild<QLabel*>("lblVergleich")->text(), QString("2 Module unterscheiden sich."));
    // In the newer source's order: the folder's files by name.
    QCOMPARE(rows(tree), QStringList({"Alt -> Neu (Standardmodul) | umbenannt", "Rechnen (Standardmodul) | geändert",
                                      "  Sub Summe | geändert"}));
    tree->setCurrentItem(tree->topLevelItem(1)->child(0));
    auto* older = compare->findChild<CodeView*>("rtbAlt");
    auto* newer = compare->findChild<CodeView*>("rtbNeu");
    QCOMPARE(QString::fromStdString(older->text()), QString("Sub Summe()\r\n  s = 1 + 2\r\nEnd Sub\r\n"));
    QCOMPARE(QString::fromStdString(newer->text()), QString("Sub Summe()\r\n  s = 1 + 3\r\nEnd Sub\r\n"));
    QCOMPARE(markedLines(older), QList<int>({1}));
    QCOMPARE(markedLines(newer), QList<int>({1}));
    QVERIFY(older->extraSelections().front().format.background() != newer->extraSelections().front().format.background());
    // Coloured as the code views are: the keyword "Sub" in its colour, the name not.
    const auto colourAt = [&](int position) {
      QTextCursor cursor(newer->document());
      cursor.setPosition(position + 1);  // the format of the character before the cursor
      return cursor.charFormat().foreground().color();
    };
    const std::int32_t keyword = state.display.render.keywordColour;
    QCOMPARE(colourAt(0), QColor(keyword & 0xFF, (keyword >> 8) & 0xFF, (keyword >> 16) & 0xFF));
    QVERIFY(colourAt(5) != colourAt(0));

    // A source that is missing is reported and leaves nothing behind.
    compare->findChild<QLineEdit*>("txtNeu")->setText(text(root.path() / "fehlt.xlsm"));
    QTest::mouseClick(compare->findChild<QPushButton*>("cmdVergleichen"), Qt::LeftButton);
    QVERIFY(dialogs.requests.back().text.contains("wurde nicht gefunden"));
    QCOMPARE(tree->topLevelItemCount(), 0);
    QVERIFY(older->text().empty());
    // The same source twice holds no difference.
    compare->findChild<QLineEdit*>("txtNeu")->setText(text(workbook));
    QTest::mouseClick(compare->findChild<QPushButton*>("cmdVergleichen"), Qt::LeftButton);
    QCOMPARE(compare->findChild<QLabel*>("lblVergleich")->text(), QString("Beide Quellen enthalten denselben Code."));
    session.reset();
  }
};

}  // namespace cq

QTEST_MAIN(cq::CompareWindowTest)
#include "compare_window_test.moc"
