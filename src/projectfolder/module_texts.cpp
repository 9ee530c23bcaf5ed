#include "projectfolder/module_texts.h"

#include <exception>

#include "projectfolder/project_folder.h"
#include "text/failure.h"

namespace cq {

MarkedTextOf moduleFilesOf(const std::filesystem::path& folder) {
  return [folder](int module) {
    try {
      return readModuleFile(folder, module);
    } catch (const Failed&) {
      throw;
    } catch (const std::exception& error) {
      throw Failed(error.what());
    }
  };
}

}  // namespace cq
