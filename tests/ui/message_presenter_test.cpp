// The one seam for messages and dialogs: engine texts converted, default
// titles, and every kind of dialog answered through the replier.
#include <QtTest>

#include "ui/message_presenter.h"
#include "ui/scripted_dialogs.h"

namespace cq {

class MessagePresenterTest : public QObject {
  Q_OBJECT

 private slots:
  void presenterConvertsEngineTextsAndRoutesEveryDialog() {
    ScriptedDialogs dialogs;
    MessagePresenter presenter(nullptr, "Titel");
    presenter.setReplier(dialogs.replier());
    presenter.warning(std::string("Datei \xE4nderung \x96 fehlt"));
    presenter.critical(QString("Fehler"), "Eigener Titel");
    QCOMPARE(dialogs.requests[0].text, QString::fromUtf8("Datei änderung – fehlt"));
    QCOMPARE(dialogs.requests[0].title, QString("Titel"));
    QCOMPARE(dialogs.requests[0].kind, DialogKind::Warning);
    QCOMPARE(dialogs.requests[1].title, QString("Eigener Titel"));

    dialogs.replies.push_back({Answer::Yes, {}, {}});
    QCOMPARE(presenter.question(QString("Speichern ?"), QuestionButtons::YesNoCancel), Answer::Yes);
    QCOMPARE(presenter.question(QString("Nochmal ?"), QuestionButtons::YesNo), Answer::Cancel);

    dialogs.replies.push_back({Answer::Ok, "Projekt1", {}});
    QCOMPARE(presenter.askText(QString("Name:"), "Neu", "Vorschlag"), std::optional<QString>("Projekt1"));
    QCOMPARE(dialogs.requests.back().proposal, QString("Vorschlag"));
    QCOMPARE(presenter.askText(QString("Name:"), "Neu", ""), std::nullopt);

    dialogs.replies.push_back({Answer::Ok, {}, {"/home/user/Projekte"}});
    QCOMPARE(presenter.askFolder("Ordner", "/home/user"), std::optional<QString>("/home/user/Projekte/"));
    QCOMPARE(presenter.askFolder("Ordner", "/home/user"), std::nullopt);

    dialogs.replies.push_back({Answer::Ok, {}, {"/a.xlsm", "/b.docm"}});
    QCOMPARE(presenter.askFiles("Dokumente", "/", "Office (*.xlsm)"), (QStringList{"/a.xlsm", "/b.docm"}));
    QCOMPARE(dialogs.requests.back().filter, QString("Office (*.xlsm)"));
    QCOMPARE(presenter.askFiles("Dokumente", "/", ""), QStringList());
  }
};

}  // namespace cq

QTEST_MAIN(cq::MessagePresenterTest)
#include "message_presenter_test.moc"
