#pragma once
// Reads the ticked modules of the host tree into a project folder: every module
// is numbered, marked up and scanned into its module file and the code database.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/module_scanner.h"
#include "sources/host_application.h"
#include "sources/host_tree.h"
#include "render/markup_options.h"

namespace cq {

struct ProjectReadRequest {
  std::filesystem::path templateFile;  // mask_CodeQuorix.mdb
  std::filesystem::path folder;        // the working folder that receives the project
  MarkupOptions markup;
};

struct ProjectRead {
  bool attached = true;        // false: no document open, nothing happened
  int modules = 0;
  std::int64_t routines = 0;   // rows written to td_rout
  std::size_t replacedCharacters = 0;
  int codePage = 1252;                // of the project's code, recorded in the database
  std::vector<ScanWarning> warnings;  // header lines left as plain code
};

// The messages of a failed read from the host or of module files; the cause
// says what exactly went wrong.
extern const char* const kReadFailedMessage;
extern const char* const kVbReadFailedMessage;

// Module files are named "M" + module number + ".txt".
std::filesystem::path moduleFilePath(const std::filesystem::path& folder, int moduleNumber);

// Creates the code database from the template in the folder and reads every
// ticked module without children, in tree order (components found by the
// nodes' indexes). The tree's tag becomes the project's name. A database that
// cannot be made, a failure to write (a full disk: the cause comes first) and a
// module whose file would be larger than module files may be (kMaxSourceFileBytes)
// fail with their own message; complete rows and module files written before a
// failure remain, a module file cut off is removed.
Outcome<ProjectRead> readTickedModules(HostApplication& host, HostTree& tree, const ProjectReadRequest& request);

// Reads ticked module files of a Visual Basic project whose tree keys name the
// file and the type code: "A1\Form1.frm:1" is Form1.frm in `projectFolder`, type 1
// (a last character 0 or not a digit: 32). The node text is the module name. The
// file's header is cut; a file that cannot be read fails the read with its cause.
Outcome<ProjectRead> readTickedModuleFiles(const HostTree& tree, const std::filesystem::path& projectFolder,
                                           const ProjectReadRequest& request);

}  // namespace cq
