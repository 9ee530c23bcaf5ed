#include "sources/vba/vba_project_reader.h"

#include "sources/host_application.h"
#include "text/text_decoding.h"
#include "sources/vba/code_page.h"
#include "sources/vba/dir_stream.h"
#include "sources/vba/ovba_compression.h"
#include "sources/vba/project_stream.h"

namespace cq {
namespace {

// No sound module or dir stream comes near this; a bigger one is damage.
constexpr std::size_t kMaxDecompressedStream = 64u * 1024 * 1024;

Failed damaged(const std::string& fileName, const std::string& reason) {
  return Failed("Das VBA-Projekt der Datei " + fileName + " ist besch\xE4" "digt: " + reason + ".");
}

DirStream readDirStream(const VbaStorage& storage, const std::string& fileName) {
  const std::optional<std::string> compressed = storage.stream("VBA/dir");
  if (!compressed) throw Failed("Die Datei " + fileName + " enth\xE4" "lt kein VBA-Projekt.");
  const std::optional<std::string> dir = decompressOvba(*compressed, kMaxDecompressedStream);
  if (!dir) throw damaged(fileName, "das Verzeichnis (dir) ist nicht lesbar komprimiert");
  try {
    return parseDirStream(*dir);
  } catch (const Failed& damage) {
    throw damaged(fileName, damage.failure().message);
  }
}

// The module's source as Windows-1252 text with CR LF line ends. A module whose
// stream is missing or damaged makes the whole project unreadable rather than
// silently incomplete: the user sees the reason instead of a project that
// merely lacks a module.
DecodedText readModuleSource(const VbaStorage& storage, const DirModule& module, int codePage,
                             const std::string& fileName) {
  const std::optional<std::string> stream = storage.stream("VBA/" + module.streamName);
  if (!stream) throw damaged(fileName, "der Stream des Moduls " + module.name + " fehlt");
  if (module.textOffset > stream->size()) {
    throw damaged(fileName, "der Quelltext des Moduls " + module.name + " beginnt hinter dem Ende seines Streams");
  }
  const std::string_view compressed = std::string_view(*stream).substr(module.textOffset);
  // Some hosts leave the source part empty or zero-filled (the compiled code
  // alone runs the module): a module without source, not damage.
  if (compressed.find_first_not_of('\0') == std::string_view::npos) return DecodedText{};
  const std::optional<std::string> source = decompressOvba(compressed, kMaxDecompressedStream);
  if (!source) throw damaged(fileName, "der Quelltext des Moduls " + module.name + " ist nicht lesbar komprimiert");
  DecodedText text = codePageToWindows1252(*source, codePage);
  text.text = normalizeLineEnds(text.text);
  return text;
}

}  // namespace

LoadedProject readVbaProject(const VbaStorage& storage, const std::string& fileName) {
  const DirStream dir = readDirStream(storage, fileName);
  const ProjectStream projectStream(storage.stream("PROJECT").value_or(std::string()));

  LoadedProject project(fileName, dir.projectName);
  project.setProtection(projectStream.lockedForViewing());
  for (const DirModule& module : dir.modules) {
    DecodedText source = readModuleSource(storage, module, dir.codePage, fileName);
    const int type = projectStream.componentType(module.codePageName, module.isProcedural);
    project.addComponent(LoadedComponent(module.name, type, ModuleCode(source.text), source.replaced));
  }
  return project;
}

}  // namespace cq
