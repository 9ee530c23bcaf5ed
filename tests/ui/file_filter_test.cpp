// The filter notation of the save dialogs and its Qt filter strings.
#include "ui/dialogs/file_filter.h"

#include <QtTest>

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
    QCOMPARE(qtFileFilter(several), std::string("Code (*.bas *.cls);;Alles (*);; (*.txt);;RTF-Dokument (*.RTF)"));
    for (const auto& [text, error] : {std::pair{"RTF-Dokument:RTF", "Bitte Filterart mit ; abschlie\xDF" "en"},
                                      {"", "Bitte Filterart mit ; abschlie\xDF" "en"},
                                      {"VB:vbp;RTF;", "Doppelpunkt vergessen"}}) {
      const Outcome<FileFilter> broken = translateFileFilter(text);
      QVERIFY(!broken.ok());
      QCOMPARE(broken.failure().text(), std::string(error));
    }
  }
};

}  // namespace
}  // namespace cq

QTEST_GUILESS_MAIN(cq::FileFilterTest)
#include "file_filter_test.moc"
