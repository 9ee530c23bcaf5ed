#pragma once
// A Visual Basic project file (.vbp) opened as one project with its module files.
#include <filesystem>

#include "sources/loaded_project.h"

namespace cq {

// Reads the component lines (Module=, Class=, Form=, UserControl=, UserDocument=,
// PropertyPage=, Designer=) in file order; module paths are relative to the
// .vbp's folder, "\" standing for "/". The project is named after the .vbp.
// Throws Failed when a module file is missing or cannot be read.
// Its module files are read in `codePage` (kDetectCodePage: detected together).
LoadedProject loadVbpProject(const std::filesystem::path& vbpFile, int codePage);

}  // namespace cq
