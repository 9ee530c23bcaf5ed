// The filter notation of the save dialogs, its Qt filter strings and the save
// dialog that uses them.
#include "ui/dialogs/file_filter.h"

#include <QDir>
#include <QtTest>

#include "ui/dialogs/save_dialog.h"
#include "ui/scripted_dialogs.h"

namespace cq {
namespace {

class FileFilterTest : public QObject {
  Q_OBJECT

 private slots:
  void translatesEntriesAndRefusesMalformedText() {
    const Outcome<FileFilter> translated = translateFileFilter("Code:bas,cls;Alles:;:txt;RTF-Dokument:RTF;");
    QVERIFY(translated.ok());
    const FileFilter& several = translated.value();
    std::string entries;
    for (const FileFilterEntry& entry : several.entries) entries += entry.description + " = " + entry.patterns + "|";
    QCOMPARE(entries,
             std::string("Code (*.bas, *.cls) = *.bas; *.cls|Alles (*.*) = *.*| (*.txt) = *.txt|"
                         "RTF-Dokument (*.rtf) = *.RTF|"));
    QCOMPARE(qtFileFilter(several), std::string("Code (*.bas *.cls);;Alles (*);; (*.txt);;RTF-Dokument (*.RTF *.rtf)"));
    for (const auto& [text, error] : {std::pair{"RTF-Dokument:RTF", "Bitte Filterart mit ; abschließen"},
                                      {"", "Bitte Filterart mit ; abschließen"},
                                      {"VB:vbp;RTF;", "Doppelpunkt vergessen"}}) {
      const Outcome<FileFilter> broken = translateFileFilter(text);
      QVERIFY(!broken.ok());
      QCOMPARE(broken.failure().text(), std::string(error));
    }
  }

  void saveDialogReportsMalformedFiltersAndAsksWithTheTranslation() {
    ScriptedDialogs dialogs;
    MessagePresenter messages(nullptr, QStringLiteral("Titel"));
    messages.setReplier(dialogs.replier());
    // Malformed filter texts: the message (no icon) and no dialog.
    for (const auto& [text, message] : {std::pair{"RTF-Dokument:RTF", u"Bitte Filterart mit ; abschlie\u00DFen"},
                                        {"RTF;", u"Doppelpunkt vergessen"}}) {
      dialogs.requests.clear();
      QVERIFY(!askSaveFileName(messages, text, QStringLiteral("RTF")));
      QCOMPARE(dialogs.requests.size(), std::size_t{1});
      QCOMPARE(dialogs.requests[0].kind, DialogKind::Plain);
      QCOMPARE(dialogs.requests[0].text, QString::fromUtf16(message));
    }
    dialogs.requests.clear();
    dialogs.replies.push_back(DialogReply{Answer::Ok, {}, {QStringLiteral("/tmp/x/Code.bas")}});
    QCOMPARE(askSaveFileName(messages, "Code:bas,cls;Alles:;", QStringLiteral("bas"), {}, QStringLiteral("Modul1"))
                 .value_or(QString()),
             QStringLiteral("/tmp/x/Code.bas"));
    const DialogRequest& asked = dialogs.requests.at(0);
    QCOMPARE(asked.kind, DialogKind::SaveFile);
    QCOMPARE(asked.title, QStringLiteral("Speichern unter"));
    QCOMPARE(asked.filter, QStringLiteral("Code (*.bas *.cls);;Alles (*)"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("bas"));
    QCOMPARE(asked.text, QStringLiteral("Modul1"));
    QCOMPARE(asked.proposal, QDir::homePath());  // no initial folder: the home folder
    // Cancelled: nothing chosen; the folder browser also starts at home.
    QVERIFY(!askSaveFileName(messages, "RTF-Dokument:RTF;", QStringLiteral("RTF"), QStringLiteral("/srv")));
    QCOMPARE(dialogs.requests.back().proposal, QStringLiteral("/srv"));
    QVERIFY(!messages.askFolder(QStringLiteral("Bitte Projekt ausw\u00E4hlen"), {}));
    QCOMPARE(dialogs.requests.back().kind, DialogKind::Folder);
    QCOMPARE(dialogs.requests.back().proposal, QDir::homePath());
  }
};

}  // namespace
}  // namespace cq

QTEST_GUILESS_MAIN(cq::FileFilterTest)
#include "file_filter_test.moc"
