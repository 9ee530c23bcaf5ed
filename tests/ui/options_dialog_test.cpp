// The options dialog: loading from the state, the tab list's fallback, the
// indentation pair, the font lists, the swatches, the folder buttons, and what
// OK and Abbrechen leave in the state and the settings.
#include "ui/options/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"
#include "ui/options/colour_frame.h"
#include "ui/scripted_dialogs.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

QString text(const fs::path& path) { return QString::fromStdString(path.string()); }

struct DialogUnderTest {
  test::TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  MessagePresenter messages{nullptr, "Optionen"};
  std::unique_ptr<OptionsDialog> dialog;

  DialogUnderTest() {
    state.defaultProjectFolder = folder.path() / "Projekte/";
    messages.setReplier(dialogs.replier());
  }
  void open() {
    dialog = std::make_unique<OptionsDialog>(state, settings, messages, nullptr);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
  }
  void showPage(int index) const { child<QTabWidget>("tbOptionen")->setCurrentIndex(index); }
  template <typename Widget = QWidget>
  Widget* child(const char* name) const {
    auto* found = dialog->findChild<Widget*>(QString::fromUtf8(name));
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QCheckBox* box(const char* name) const { return child<QCheckBox>(name); }
  void click(const char* name) const { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
  void clickSwatch(int index) const {
    QTest::mouseClick(child<QLabel>(QString("lblFarbe_%1").arg(index).toUtf8().constData()), Qt::LeftButton);
  }
  std::string stored(const char* key) const { return settings.get("optionen", key); }
};

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void loadsTheStateAndCancelLeavesEverythingAsItWas() {
    DialogUnderTest t;
    t.state.display.render.tabWidthMm = 25;
    t.state.display.markup.reindent = false;
    t.state.display.markup.indentRoutineBodies = true;
    t.state.display.htmlPreview = true;
    const DisplaySettings before = t.state.display;
    t.open();

    auto* tabs = t.child<QTabWidget>("tbOptionen");
    const QStringList captions{"&Anzeige", "&Dateien", "&Code", "&Formate"};
    const QStringList tips{"Anzeige", "Dateiablage", "Code", "Formate"};
    QCOMPARE(tabs->count(), 4);
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(tabs->tabText(i), captions[i]);
      QCOMPARE(tabs->tabToolTip(i), tips[i]);
    }
    QCOMPARE(t.dialog->windowTitle(), QString("Optionen"));
    QVERIFY(t.child("fraOptionen_1")->isVisible() && !t.child("fraOptionen_4")->isVisible());
    // Out of range: the list shows 5.
    QCOMPARE(t.child<QComboBox>("cboTabStop")->currentText(), QString("5"));
    QCOMPARE(t.child<QComboBox>("cboTabStop")->count(), 18);
    // Routine bodies are indented only with re-indentation: disabled, but still ticked.
    QVERIFY(t.box("chkRouEinruecken")->isChecked() && !t.box("chkRouEinruecken")->isEnabled());
    QVERIFY(t.box("chkVorschau")->isChecked() && t.box("chkMeldung")->isChecked() && t.box("chkRoutinen")->isChecked());
    QVERIFY(!t.box("chkEinrueck")->isChecked() && !t.box("chkLeer")->isChecked());
    QCOMPARE(t.box("chkMeldung")->toolTip(), QString("Meldung nach Transport in die Zwischenablage ausgeben"));
    QCOMPARE(t.child<QLineEdit>("txtSpeichern")->text(), text(t.state.defaultProjectFolder));
    // The font lists stay empty until page 4 is shown, their texts come from the state.
    QCOMPARE(t.child<QComboBox>("cboSchriftArt")->count(), 0);
    QCOMPARE(t.child<QComboBox>("cboSchriftArt")->currentText(), QString("MS Sans Serif"));
    QCOMPARE(t.child<QComboBox>("cboSchriftGr")->currentText(), QString("10"));

    t.box("chkLeer")->setChecked(true);
    t.showPage(3);
    t.clickSwatch(20);
    t.click("cmdEscape");
    QVERIFY(!t.dialog->isVisible());
    QVERIFY(t.state.display == before);
    QVERIFY(t.settings.getAll("optionen").empty() && t.settings.getAll("proj").empty());
  }

  void okStoresEveryControlAndKeepsTheFontWithoutAVisitToPage4() {
    DialogUnderTest t;
    t.state.display.render.tabWidthMm = 25;
    t.state.display.render.fontName = "Courier Ästhetik";
    t.state.display.render.fontSize = 12;
    t.state.display.markup.reindent = true;
    t.open();
    // Unticking "Einrücken" disables its partner and keeps its tick: "rer" stays on.
    t.box("chkRouEinruecken")->setChecked(true);
    QVERIFY(t.box("chkRouEinruecken")->isEnabled());
    t.box("chkEinrueck")->setChecked(false);
    QVERIFY(!t.box("chkRouEinruecken")->isEnabled() && t.box("chkRouEinruecken")->isChecked());
    t.box("chkMeldung")->setChecked(false);
    t.box("chkUserBild")->setChecked(true);
    t.box("chkStandardImmer")->setChecked(true);
    t.child<QLineEdit>("txtSpeichern")->setText("/nirgends/Projekte");
    // Module files: detected unless a code page is chosen.
    auto* codePage = t.child<QComboBox>("cboZeichensatz");
    QCOMPARE(codePage->currentText(), QString("Automatisch"));
    codePage->setCurrentIndex(codePage->findText(QString("Kyrillisch (1251)")));
    t.click("cmdOK");

    QVERIFY(!t.dialog->isVisible());
    QCOMPARE(t.state.display.moduleFileCodePage, 1251);
    QCOMPARE(t.stored("zsatz"), std::string("1251"));
    const DisplaySettings& d = t.state.display;
    QCOMPARE(d.render.tabWidthMm, 5);
    QCOMPARE(d.render.fontName, std::string("Courier Ästhetik"));
    QCOMPARE(d.render.fontSize, 12);
    QVERIFY(d.markup.indentRoutineBodies && !d.markup.reindent && !d.confirmClipboardCopy);
    QVERIFY(d.applyScreenPreset && d.alwaysUseProjectFolder);
    QCOMPARE(t.stored("tab"), std::string("5"));
    QCOMPARE(t.stored("rer"), std::string("-1"));
    QCOMPARE(t.stored("einr"), std::string("0"));
    QCOMPARE(t.stored("meld"), std::string("0"));
    QCOMPARE(t.stored("font"), std::string("Courier \xC3\x84sthetik,12"));
    QCOMPARE(t.stored("fkey"), std::string("8388608"));
    QVERIFY(t.stored("bis").empty());
    // The folder is saved as typed, not checked.
    QCOMPARE(t.settings.get("proj", "proj_pf"), std::string("/nirgends/Projekte"));
    QCOMPARE(t.state.defaultProjectFolder, fs::path("/nirgends/Projekte/"));

    // An emptied folder text means the home folder, as at start; the code page chosen shows again.
    t.open();
    QCOMPARE(t.child<QComboBox>("cboZeichensatz")->currentText(), QString("Kyrillisch (1251)"));
    t.child<QComboBox>("cboZeichensatz")->setCurrentIndex(0);
    t.child<QLineEdit>("txtSpeichern")->clear();
    t.click("cmdOK");
    QCOMPARE(t.stored("zsatz"), std::string("0"));
    QCOMPARE(t.state.defaultProjectFolder, fs::path(QDir::homePath().toStdString()) / "");
  }

  void fontListsSwatchesAndPreviewOnPage4() {
    DialogUnderTest t;
    t.state.display.render.fontName = "Nicht Vorhanden";
    t.state.display.render.fontSize = 11;
    t.open();
    auto* names = t.child<QComboBox>("cboSchriftArt");
    auto* sizes = t.child<QComboBox>("cboSchriftGr");
    t.child<QTabWidget>("tbOptionen")->setCurrentIndex(3);
    QVERIFY(t.child("fraOptionen_4")->isVisible() && !t.child("fraOptionen_1")->isVisible());
    QCOMPARE(names->count(), QFontDatabase::families().size());
    QCOMPARE(sizes->count(), 9);
    QCOMPARE(sizes->itemText(0), QString("8"));
    QCOMPARE(sizes->itemText(8), QString("16"));
    QCOMPARE(names->currentText(), QString("Nicht Vorhanden"));
    QCOMPARE(sizes->currentText(), QString("11"));
    // Filled once per opening.
    t.child<QTabWidget>("tbOptionen")->setCurrentIndex(0);
    t.child<QTabWidget>("tbOptionen")->setCurrentIndex(3);
    QCOMPARE(sizes->count(), 9);
    // The dialog keeps its size and OK its place whatever font is chosen.
    const QSize size = t.dialog->size();
    const QPoint ok = t.child<QPushButton>("cmdOK")->mapTo(t.dialog.get(), QPoint());
    const QStringList families = QFontDatabase::families();
    QString longest = "Ein Schriftname, wie ihn kein System hat";
    for (const QString& family : families)
      if (family.size() > longest.size()) longest = family;
    for (const QString& family : {longest, families.value(0, longest)}) {
      names->setCurrentText(family);
      sizes->setCurrentText("99");
      QApplication::processEvents();
      QCOMPARE(t.dialog->size(), size);
      QCOMPARE(t.child<QPushButton>("cmdOK")->mapTo(t.dialog.get(), QPoint()), ok);
    }
    names->setCurrentText("Nicht Vorhanden");
    sizes->setCurrentText("14");
    QCOMPARE(t.child<QLabel>("lblSchrift")->font().pointSize(), 14);
    QCOMPARE(t.child<QLabel>("lblSchrift")->text(), QString("Standardschrift Normal"));

    // Each swatch shows its colour and chooses it for its own kind only.
    const std::pair<int, std::int32_t> spots[] = {{0, 16777215}, {1, 8388608}, {3, 8421376}, {15, 0},
                                                  {17, 0},       {20, 255},     {31, 8388608}, {34, 65535},
                                                  {41, 12632256}, {47, 8388608}};
    for (const auto& [index, colour] : spots) {
      QCOMPARE(swatchColour(index), colour);
      const QColor shown = t.child<QLabel>(QString("lblFarbe_%1").arg(index).toUtf8().constData())
                               ->palette()
                               .color(QPalette::Window);
      QCOMPARE(shown, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    }
    t.clickSwatch(4);   // comment: dark red
    t.clickSwatch(20);  // keyword: red
    t.clickSwatch(34);  // string: yellow
    QCOMPARE(t.child<ColourFrame>("fraKomFarbe")->colour(), 128);
    QCOMPARE(t.child<ColourFrame>("fraKeyfarbe")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    t.click("cmdOK");
    QCOMPARE(t.state.display.render.commentColour, 128);
    QCOMPARE(t.state.display.render.keywordColour, 255);
    QCOMPARE(t.state.display.render.stringColour, 65535);
    QCOMPARE(t.stored("fstr"), std::string("65535"));
    QCOMPARE(t.stored("font"), std::string("Nicht Vorhanden,14"));
  }

  void folderButtonsChooseAndCreateTheDefaultFolder() {
    DialogUnderTest t;
    t.open();
    t.showPage(1);
    auto* folderText = t.child<QLineEdit>("txtSpeichern");
    t.dialogs.replies.push_back({Answer::Ok, {}, {text(t.folder.path() / "Wahl")}});
    t.click("cmdSpeichern\u00C4ndern");
    QCOMPARE(t.dialogs.requests.back().title, QString("Bitte Standardordner f\u00FCr Projekte ausw\u00E4hlen"));
    QCOMPARE(folderText->text(), text(t.folder.path() / "Wahl/"));
    t.click("cmdSpeichern\u00C4ndern");  // cancelled: unchanged
    QCOMPARE(folderText->text(), text(t.folder.path() / "Wahl/"));

    // "Neu...": the name loses its blanks and the characters no folder name holds.
    t.dialogs.requests.clear();
    t.dialogs.replies.push_back({Answer::Ok, {}, {text(t.folder.path())}});
    t.dialogs.replies.push_back({Answer::Ok, "  Neu:er*Ordner? \u6587 ", {}});
    t.click("cmdNeu");
    QCOMPARE(t.dialogs.requests.size(), std::size_t{2});
    QCOMPARE(t.dialogs.requests[0].title,
             QString("Bitte Verzeichnis ausw\u00E4hlen,\r\nin welchem der neue Ordner erzeugt werden soll"));
    QCOMPARE(t.dialogs.requests[1].text, QString("Namen f\u00FCr neuen Ordner angeben"));
    QCOMPARE(t.dialogs.requests[1].title, QString("Neuer Ordner"));
    const fs::path created = t.folder.path() / "NeuerOrdner \xE6\x96\x87";  // UTF-8 on disk
    QCOMPARE(folderText->text(), text(created));
    QVERIFY(fs::is_directory(created));
    // An existing folder is taken silently; a name of forbidden characters only changes nothing.
    t.dialogs.requests.clear();
    t.dialogs.replies.push_back({Answer::Ok, {}, {text(t.folder.path())}});
    t.dialogs.replies.push_back({Answer::Ok, "NeuerOrdner \u6587", {}});
    t.click("cmdNeu");
    t.dialogs.replies.push_back({Answer::Ok, {}, {text(t.folder.path())}});
    t.dialogs.replies.push_back({Answer::Ok, " :*? ", {}});
    t.click("cmdNeu");
    QCOMPARE(t.dialogs.requests.size(), std::size_t{4});
    QCOMPARE(folderText->text(), text(created));
    // A folder that cannot be made is said; the path stays in the box.
    t.folder.writeFile("Datei", "x");
    t.dialogs.replies.push_back({Answer::Ok, {}, {text(t.folder.path() / "Datei")}});
    t.dialogs.replies.push_back({Answer::Ok, "Unter", {}});
    t.click("cmdNeu");
    QCOMPARE(t.dialogs.requests.back().kind, DialogKind::Warning);
    QVERIFY(t.dialogs.requests.back().text.contains("konnte nicht angelegt werden"));
    QCOMPARE(folderText->text(), text(t.folder.path() / "Datei/Unter"));
  }
};

}  // namespace cq

QTEST_MAIN(cq::OptionsDialogTest)
#include "options_dialog_test.moc"
