// The filter notation of the save dialogs and its Qt filter strings.
#include "ui/dialogs/file_filter.h"

#include <QtTest>

namespace cq {
namespace {

class FileFilterTest : public QObject {
  Q_OBJECT

 private slots:
  void translatesEntriesAndRefusesMalformedText() {
    const FileFilter several = translateFileFilter("Code:bas,cls;Alles:;:txt;RTF-Dokument:RTF;");
    QVERIFY(several.ok());
    std::string entries;
    for (const FileFilterEntry& entry : several.entries) entries += entry.description + " = " + entry.patterns + "|";
    QCOMPARE(entries,
             std::string("Code (*.bas, *.cls) = *.bas; *.cls|Alles (*.*) = *.*| (*.txt) = *.txt|"
                         "RTF-Dokument (*.rtf) = *.RTF|"));
    QCOMPARE(qtFileFilter(several), std::string("Code (*.bas *.cls);;Alles (*);; (*.txt);;RTF-Dokument (*.RTF)"));
    for (const auto& [text, error] : {std::pair{"RTF-Dokument:RTF", "Bitte Filterart mit ; abschlie\xDF" "en"},
                                      {"", "Bitte Filterart mit ; abschlie\xDF" "en"},
                                      {"VB:vbp;RTF;", "Doppelpunkt vergessen"}}) {
      const FileFilter broken = translateFileFilter(text);
      QCOMPARE(broken.error, std::string(error));
      QVERIFY(broken.entries.empty());
      QCOMPARE(qtFileFilter(broken), std::string());
    }
  }
};

}  // namespace
}  // namespace cq

QTEST_GUILESS_MAIN(cq::FileFilterTest)
#include "file_filter_test.moc"
