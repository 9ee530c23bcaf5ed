// The export commands in the real main window on the bundled sample: HTML with
// the credit line and the preview page, rich-text and plain-text copies with
// their clipboard formats, RTF files through the save dialog.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "app/text_boundary.h"
#include "support/code_page_projects.h"
#include "support/golden.h"
#include "support/office_file_writer.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "support/vba_project_writer.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/exports/export_commands.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/session/session.h"
#include "ui/status_bar.h"
#include "ui/test_app_state.h"

namespace cq {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {

const QString kSelectFirst = u"Bitte markieren Sie den gew\u00FCnschten Text"_s;
const QString kCreditQuestion =
    u"Die Daten sind jetzt f\u00FCr die Zwischenablage vorbereitet \r\n"
    u"und stehen Ihnen nach Schliessen des Dialoges dort zur Verf\u00FCgung !\r\n\r\n"
    u"Hinweis auf Erstellungsprogramm Hinzuf\u00FCgen ?"_s;

std::string fileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

#define QVERIFY_GOLDEN(name, actual)                                             \
  do {                                                                           \
    const ::testing::AssertionResult golden = test::matchesGolden(name, actual); \
    QVERIFY2(golden, golden.message());                                          \
  } while (false)

const QMimeData& clipboard() { return *QGuiApplication::clipboard()->mimeData(); }
QStringList formats() {
  QStringList found = clipboard().formats();
  found.sort();
  return found;
}

// The window with its session showing the sample read into a project folder "Lager".
struct ExportsUnderTest {
  test::TempFolder root;
  SettingsStore settings{root.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::vector<QUrl> opened;
  bool openerWorks = true;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Session> session;

  ExportsUnderTest() {
    state = test::testAppState(root.path(), "daten/TempDateien/");
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    window->setUrlOpener([this](const QUrl& url) {
      opened.push_back(url);
      return openerWorks;
    });
    session = std::make_unique<Session>(*window, state, settings);
    session->start({});
  }

  bool openSample() {
    const fs::path project = state.defaultProjectFolder / "Lager";
    return test::readSampleProject(project) && openProjectFolder(project);
  }
  // A document read into a project folder "Projekt" and opened.
  bool openDocument(const fs::path& document) {
    const fs::path project = state.defaultProjectFolder / "Projekt";
    return test::readDocumentIntoFolder(document, project) && openProjectFolder(project);
  }
  bool openProjectFolder(const fs::path& project) {
    run("mnuÖffnen", {DialogReply{Answer::Ok, {}, {pathToQString(project)}}});
    return window->codeLoaded();
  }

  QAction* action(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  // Runs a command with the dialogs answered in order; returns what was asked.
  std::vector<DialogRequest> run(const char* name, std::vector<DialogReply> replies = {}) {
    dialogs.requests.clear();
    dialogs.replies.assign(replies.begin(), replies.end());
    action(name)->trigger();
    return dialogs.requests;
  }
  ModuleViews& views() { return session->browser().moduleViews(); }
  // Selects the first occurrence of `text` in the current view.
  void select(const std::string& text) {
    CodeView& view = views().current();
    view.setSelection(view.text().find(text), text.size());
  }
};

}  // namespace

class ExportsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QGuiApplication::clipboard()->clear(); }

  void htmlCommandsPutTheFragmentOnTheClipboardAndShowThePreview() {
    ExportsUnderTest t;
    // Without a project only the clipboard commands work.
    QVERIFY(t.action("mnuHtml_Clipboard")->isEnabled() && t.action("mnuExtras_ClearClip")->isEnabled());
    QVERIFY(!t.action("mnuHtml_Modul")->isEnabled() && !t.action("mnuRtf")->isEnabled());
    auto asked = t.run("mnuHtml_Clipboard");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Information);
    QCOMPARE(asked[0].text, u"Kein Text in der Zwischenablage"_s);

    // The clipboard's code, marked up; the credit line only on Yes.
    QGuiApplication::clipboard()->setText(u"Dim s As String ' \u00C4 & <b>\nx = \"a:b\""_s);
    asked = t.run("mnuHtml_Clipboard", {DialogReply{Answer::Yes, {}, {}}});
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Question);
    QCOMPARE(asked[0].text, kCreditQuestion);
    QCOMPARE(formats(), (QStringList{u"text/html"_s, u"text/plain"_s}));
    const QString fragment = clipboard().text();
    QCOMPARE(clipboard().html(), fragment);
    QVERIFY(fragment.startsWith(u"<pre><span style=\"font-family:MS Sans Serif,Arial; font-size:10pt\"; >"_s));
    QVERIFY(fragment.contains(u"<span style=\"color:#000080\"; >Dim</span>"_s));
    QVERIFY(fragment.contains(u"<span style=\"color:#008000\"; >' &Auml; &#38; &lt;b&gt;</span>"_s));
    QVERIFY(fragment.contains(u"<span style=\"color:#800000\"; >&#34;a&#58;b&#34;</span>"_s));
    QVERIFY(!fragment.contains(u'\r'));
    QVERIFY(
        fragment.endsWith(u"</span></pre>\n<br><span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> "
                          u"<a style =\"color:#ffff00; background-color:#000080; font-weight:bold;\" "
                          u"href=\"https://codequorix.example.org/\" target=\"blank\">Access Code Quorix</a>"_s));
    t.run("mnuHtml_Clipboard", {DialogReply{Answer::No, {}, {}}});
    QVERIFY(clipboard().text().endsWith(u"</span></pre>"_s));
    QVERIFY(t.opened.empty());  // no preview while "vor" is off

    QVERIFY(t.openSample());
    QVERIFY(t.action("mnuHtml_Modul")->isEnabled() && t.action("mnuHtml_projekt")->isEnabled());
    // "meld" off and "vor" on: no question, and the project's page in the browser.
    t.state.display.confirmClipboardCopy = false;
    t.state.display.htmlPreview = true;
    QVERIFY(t.run("mnuHtml_projekt").empty());
    const fs::path page = t.root.path() / "daten" / "TempCodeQuor.htm";
    QCOMPARE(t.opened.size(), std::size_t{1});
    QCOMPARE(t.opened[0], QUrl::fromLocalFile(pathToQString(page)));
    QVERIFY_GOLDEN("sample_preview.htm", fileBytes(page));
    QCOMPARE(clipboard().text().count(u"<pre>"_s), 4);
    QVERIFY(clipboard().text().contains(u"Modul&#58;  modLager  Typ = Allgemeines Modul"_s));
    // A workbook's document module is named as such, not as a report.
    QVERIFY(clipboard().text().contains(u"Modul&#58;  ThisWorkbook  Typ = Element der Mappe&#40;Sheet, Workbook, ...&#41;"_s));
    QCOMPARE(t.window->statusPanels().text(StatusBar::kProgressPanel), QString());

    // The module through its toolbar button; a browser that does not start is reported.
    t.openerWorks = false;
    t.window->commands().toolbarButton(u"ht_mod"_s)->trigger();
    QCOMPARE(clipboard().text().count(u"<pre>"_s), 1);
    QVERIFY(!clipboard().text().contains(u"Modul&#58;"_s));
    QCOMPARE(t.dialogs.requests.back().text, u"Vorschau nicht m\u00F6glich, vermutlich kein IE installiert"_s);
    QVERIFY(fileBytes(page).find("<meta charset=\"utf-8\">") != std::string::npos);
    t.state.display.htmlPreview = false;

    // The selection is marked up again; without one the command only says so.
    t.views().current().setCaret(0);
    asked = t.run("mnuHtml_Auswahl");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Warning);
    QCOMPARE(asked[0].text, kSelectFirst);
    t.select("Option Explicit");
    QVERIFY(t.run("mnuHtml_Auswahl").empty());
    QVERIFY(
        clipboard().text().contains(u">Option</span> <span style=\"color:#000080\"; >Explicit</span></span></pre>"_s));

    // The zoom view's whole text: the routine at the caret.
    t.select("End Sub");
    t.action("mnuAnsicht_Zoom")->trigger();
    QVERIFY(t.session->browser().isZoomOn());
    const std::string zoomText = t.views().zoomView().text();
    QVERIFY(zoomText.find("End Sub") != std::string::npos);
    QVERIFY(t.run("mnuPopUp_Zoom_Html").empty());
    QVERIFY(clipboard().text().contains(u"<b><span style=\"color:#000080\"; >End</span> "_s));
  }

  void copiesPutRichOrPlainTextOnTheClipboard() {
    ExportsUnderTest t;
    QVERIFY(t.openSample());
    t.select("Option Explicit");
    QVERIFY(t.run("mnuBearbeiten_Kopieren_Auswahl").empty());
    QCOMPARE(formats(), (QStringList{u"text/html"_s, u"text/plain"_s, u"text/rtf"_s}));
    const QByteArray rtf = clipboard().data(u"text/rtf"_s);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
    QVERIFY(rtf.contains("\\plain\\f3\\fs20 \\cf1 Option\\cf0  \\cf1 Explicit\\cf0 }"));
    QCOMPARE(clipboard().text(), u"Option Explicit"_s);
    QVERIFY(clipboard().html().contains(u"<span style=\"color:#000080\"; >Option</span>"_s));

    // The whole module, with plain text in this platform's line ends.
    t.views().current().setCaret(0);
    t.run("mnuBearbeiten_Kopieren_Modul");
    QCOMPARE(clipboard().text(), toQString(t.views().current().text()).replace(u"\r\n"_s, u"\n"_s));
    QVERIFY(clipboard().data(u"text/rtf"_s).contains("\\b \\cf1 "));  // routine lines bold

    // Plain text: only "text/plain", confirmed while "meld" is on.
    auto asked = t.run("mnuText_Auswahl");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].text, kSelectFirst);
    t.select("Option Explicit");
    asked = t.run("mnuText_Auswahl", {DialogReply{}});
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Plain);
    QCOMPARE(asked[0].text, u"Text in Zwischenablage"_s);
    QCOMPARE(formats(), QStringList{u"text/plain"_s});
    QCOMPARE(clipboard().text(), u"Option Explicit"_s);
    t.state.display.confirmClipboardCopy = false;
    QVERIFY(t.run("mnuText_Modul").empty());
    QVERIFY(clipboard().text().startsWith(u"Option Explicit\n"_s) && !clipboard().text().contains(u'\r'));

    // In zoom mode the module copy only says why not; the zoom view copies itself.
    t.select("End Sub");
    t.action("mnuAnsicht_Zoom")->trigger();
    QVERIFY(t.views().zoomView().text().find("End Sub") != std::string::npos);
    asked = t.run("mnuBearbeiten_Kopieren_Modul");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Information);
    QCOMPARE(asked[0].text, u"Steht im Zoom Modus nicht zur Verf\u00FCgung"_s);
    QVERIFY(clipboard().text().startsWith(u"Option Explicit\n"_s));  // untouched
    t.run("mnuPopUp_Zoom_Kopieren");
    QCOMPARE(clipboard().text(), toQString(t.views().zoomView().text()).replace(u"\r\n"_s, u"\n"_s));
    QVERIFY(clipboard().hasFormat(u"text/rtf"_s));

    t.run("mnuExtras_ClearClip");
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
  }

  void rtfFilesAreWrittenThroughTheSaveDialog() {
    QCOMPARE(withRtfExtension(u"/a/Bericht.rtf"_s), u"/a/Bericht.rtf"_s);
    QCOMPARE(withRtfExtension(u"/a/Bericht.Rtf"_s), u"/a/Bericht.Rtf"_s);
    QCOMPARE(withRtfExtension(u"/a/Bericht.doc"_s), u"/a/Bericht.RTF"_s);
    QCOMPARE(withRtfExtension(u"/a.b/Bericht"_s), u"/a.b/Bericht.RTF"_s);
    QCOMPARE(withRtfExtension(u"/a/notiz.md"_s), u"/a/notiz.md.RTF"_s);

    ExportsUnderTest t;
    QVERIFY(t.openSample());
    const fs::path chosen = t.root.path() / "Lager.rtf";
    auto asked = t.run("mnuRtf_Projekt", {DialogReply{Answer::Ok, {}, {pathToQString(chosen)}}});
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::SaveFile);
    QCOMPARE(asked[0].title, u"Speichern unter"_s);
    QCOMPARE(asked[0].text, u"Lager"_s);  // the project's name
    QCOMPARE(asked[0].filter, u"RTF-Dokument (*.RTF *.rtf)"_s);
    QCOMPARE(asked[0].defaultSuffix, u"RTF"_s);
    QCOMPARE(asked[0].proposal, QDir::homePath());
    // Written under the name as typed, no second file beside it.
    QVERIFY(!fs::exists(t.root.path() / "Lager.RTF"));
    QVERIFY_GOLDEN("sample_project.rtf", fileBytes(chosen));

    // The module, proposed under its name, in the folder used last.
    t.window->statusPanels().setText(StatusBar::kModulePanel, u"Lagerbestand"_s);
    asked = t.run("mnuRtf_Modul", {DialogReply{Answer::Ok, {}, {pathToQString(t.root.path() / "m.rtf")}}});
    QCOMPARE(asked[0].text, u"Lagerbestand"_s);
    QCOMPARE(asked[0].proposal, pathToQString(t.root.path()));
    const std::string module = fileBytes(t.root.path() / "m.rtf");
    QVERIFY(module.starts_with("{\\rtf1") && module.ends_with("}") && module.find("Modul:") == std::string::npos);

    // Cancel is silent; a failed write says why and leaves nothing behind.
    QCOMPARE(t.run("mnuRtf_Modul").size(), std::size_t{1});
    const fs::path missing = t.root.path() / "fehlt" / "x.rtf";
    asked = t.run("mnuRtf_Projekt", {DialogReply{Answer::Ok, {}, {pathToQString(missing)}}});
    QCOMPARE(asked.size(), std::size_t{2});
    QVERIFY(asked[1].text.contains(u"x.rtf konnte nicht geschrieben werden."_s));
    QVERIFY(!fs::exists(missing.parent_path()));
    QCOMPARE(t.window->statusPanels().text(StatusBar::kProgressPanel), QString());
  }

  // A project of another code page than 1252: its RTF files and copies name it
  // and write every character beyond ASCII as \uN?.
  void rtfOfAProjectInAnotherCodePageNamesIt() {
    ExportsUnderTest t;
    const auto& projects = test::codePageProjects();
    const auto russian =
        std::find_if(projects.begin(), projects.end(), [](const auto& p) { return p.codePage == 1251; });
    QVERIFY(t.openDocument(test::writeCodePageWorkbook(*russian, t.root)));
    const auto isAscii = [](std::string_view rtf) {
      return std::all_of(rtf.begin(), rtf.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    const std::string header = "{\\rtf1\\ansi\\ansicpg1251\\deff0";
    const std::string routine = "\\u1055?\\u1086?\\u1089?\\u1095?";  // "Посч"
    t.run("mnuRtf_Modul", {DialogReply{Answer::Ok, {}, {pathToQString(t.root.path() / "m.rtf")}}});
    const std::string module = fileBytes(t.root.path() / "m.rtf");
    QVERIFY(module.starts_with(header) && isAscii(module));
    QVERIFY(module.find(routine) != std::string::npos);
    t.run("mnuRtf_Projekt", {DialogReply{Answer::Ok, {}, {pathToQString(t.root.path() / "p.rtf")}}});
    const std::string project = fileBytes(t.root.path() / "p.rtf");
    QVERIFY(project.starts_with(header) && isAscii(project));
    t.views().current().setCaret(0);
    t.run("mnuBearbeiten_Kopieren_Modul");
    const std::string copied = clipboard().data(u"text/rtf"_s).toStdString();
    QVERIFY(copied.starts_with(header) && isAscii(copied));
    QVERIFY(copied.find(routine) != std::string::npos);
  }
};

}  // namespace cq

QTEST_MAIN(cq::ExportsTest)
#include "exports_test.moc"
