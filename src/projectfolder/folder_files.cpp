#include "projectfolder/folder_files.h"

#include <system_error>

#include "text/failure.h"
#include "text/path_text.h"

namespace cq {
namespace fs = std::filesystem;

void clearFolder(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (!it->is_directory(ignored)) fs::remove(it->path(), ignored);
  }
}

void copyFolderFiles(const fs::path& from, const fs::path& to) {
  const std::string unreadable = "Der Ordner \"" + pathToText(from) + "\" konnte nicht gelesen werden.";
  std::error_code error;
  fs::directory_iterator it(from, error);
  if (error) throw Failed(unreadable, systemErrorText(error));
  for (fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) throw Failed(unreadable, systemErrorText(error));
    std::error_code statusError;
    if (!it->is_regular_file(statusError)) continue;
    fs::copy_file(it->path(), to / it->path().filename(), fs::copy_options::overwrite_existing, error);
    if (error) {
      throw Failed("Die Datei \"" + pathToText(it->path()) + "\" konnte nicht nach \"" + pathToText(to) +
                       "\" kopiert werden.",
                   systemErrorText(error));
    }
  }
}

}  // namespace cq
