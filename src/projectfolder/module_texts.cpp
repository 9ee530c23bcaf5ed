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

MayHoldText moduleFilesMayHold(const std::filesystem::path& folder) {
  return [folder](int module, std::string_view ascii) {
    const Outcome<std::string> bytes = readModuleFileBytes(folder, module);
    if (!bytes) throw Failed(bytes.failure());
    return bytes->find(ascii) != std::string::npos;
  };
}

}  // namespace cq
