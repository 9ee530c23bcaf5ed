#include "projectfolder/module_texts.h"

#include "projectfolder/project_folder.h"
#include "text/failure.h"

namespace cq {

MarkedTextOf moduleFilesOf(const std::filesystem::path& folder) {
  return [folder](int module) -> std::string {
    Outcome<std::string> text = readModuleFile(folder, module);
    if (!text) throw Failed(text.failure());
    return std::move(text).value();
  };
}

}  // namespace cq
