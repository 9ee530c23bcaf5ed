#pragma once
// One small VBA project wrapped into every kind of Office file, shared by the
// loader tests and the robustness test.
#include <string>
#include <vector>

#include "support/office_file_writer.h"
#include "support/vba_project_writer.h"

namespace cq::test {

// Project "Mappe": a standard module, a document module and a class module.
VbaProjectPlan sampleProjectPlan();
StreamMap sampleProjectStreams();

// A presentation whose document stream embeds `vbaProject` as `form` says,
// behind an embedded object that holds no VBA project.
std::string presentationFileBytes(const StreamMap& vbaProject, EmbeddedStorage form);

struct OfficeSample {
  std::string fileName;  // the extension tells the kind
  std::string bytes;
};

// The sample project as xlsm, xls, doc, ppt and bare vbaProject.bin.
std::vector<OfficeSample> officeSamples();

}  // namespace cq::test
