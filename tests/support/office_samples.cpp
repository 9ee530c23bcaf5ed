#include "support/office_samples.h"

namespace cq::test {

VbaProjectPlan sampleProjectPlan() {
  VbaProjectPlan plan;
  plan.name = "Mappe";
  plan.modules = {
      {"Modul1", "", 1, "Option Explicit\r\n\r\nSub Test()\r\n  Debug.Print \"Gr\xFC\xDF" "e\"\r\nEnd Sub\r\n"},
      {"DieseArbeitsmappe", "", 100,
       "Attribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\r\n"
       "Private Sub Workbook_Open()\r\nEnd Sub\r\n"},
      {"Klasse1", "", 2, "Public Wert As Long\r\n"},
  };
  return plan;
}

StreamMap sampleProjectStreams() { return buildVbaProjectStreams(sampleProjectPlan()); }

std::string presentationFileBytes(const StreamMap& vbaProject, EmbeddedStorage form) {
  const std::string otherObject = compoundFileBytes({{"Contents", "kein Code"}});
  const std::string records = embeddedStorageRecord(otherObject, EmbeddedStorage::kCompressed) +
                              embeddedStorageRecord(compoundFileBytes(vbaProject), form);
  return compoundFileBytes({{"PowerPoint Document", presentationStream(records)}, {"Current User", "user"}});
}

std::vector<OfficeSample> officeSamples() {
  const StreamMap project = sampleProjectStreams();
  StreamMap workbook = belowStorage("_VBA_PROJECT_CUR", project);
  workbook.emplace("Workbook", std::string(600, 'w'));
  StreamMap wordDocument = belowStorage("Macros", project);
  wordDocument.emplace("WordDocument", std::string(600, 'd'));
  return {
      {"Mappe.xlsm", macroWorkbookBytes(project)},
      {"Mappe.xls", compoundFileBytes(workbook)},
      {"Brief.doc", compoundFileBytes(wordDocument)},
      {"Folien.ppt", presentationFileBytes(project, EmbeddedStorage::kCompressed)},
      {"vbaProject.bin", compoundFileBytes(project)},
  };
}

}  // namespace cq::test
