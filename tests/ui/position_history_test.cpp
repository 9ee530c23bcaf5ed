// The routine history: thirty slots, back and forward, and what a new visit after
// stepping back does.
#include <QtTest>

#include "ui/history/position_history.h"

namespace cq {

class PositionHistoryTest : public QObject {
  Q_OBJECT

 private slots:
  void keepsTheLastThirtyVisits() {
    PositionHistory history;
    QVERIFY(!history.canGoBack());
    for (int visit = 1; visit <= 31; ++visit)
      history.push("0|" + std::to_string(visit), "Modul|R" + std::to_string(visit));
    QCOMPARE(history.position(), 30);
    QCOMPARE(history.top(), 30);
    QVERIFY(!history.canGoForward());
    std::string oldest;
    while (history.canGoBack()) oldest = history.back()->position;
    QCOMPARE(history.position(), 1);
    QCOMPARE(oldest, std::string("0|2"));  // visit 1 was dropped
    QVERIFY(!history.back());
    QVERIFY(history.canGoForward());
  }

  void aVisitAfterSteppingBackClosesTheWayForward() {
    PositionHistory history;
    for (int visit = 1; visit <= 5; ++visit) history.push("1|" + std::to_string(visit), "M|R");
    QCOMPARE(history.back()->position, std::string("1|4"));
    QCOMPARE(history.back()->position, std::string("1|3"));
    QVERIFY(history.canGoForward());
    history.push("2|99", "N|S");
    QVERIFY(!history.canGoForward());
    QCOMPARE(history.top(), 4);
    QCOMPARE(history.back()->label, std::string("M|R"));
    QCOMPARE(history.forward()->position, std::string("2|99"));
    QVERIFY(!history.forward());
  }

  void positionsParse() {
    const auto parsed = parseHistoryPosition("3|1520");
    QVERIFY(parsed);
    QCOMPARE(parsed->moduleIndex, 3);
    QCOMPARE(parsed->caret, 1520);
    QVERIFY(!parseHistoryPosition("ohne Trenner"));
    QVERIFY(!parseHistoryPosition("x|1"));
  }
};

}  // namespace cq

QTEST_MAIN(cq::PositionHistoryTest)
#include "position_history_test.moc"
