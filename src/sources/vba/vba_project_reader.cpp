#include "sources/vba/vba_project_reader.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "sources/host_application.h"
#include "text/ascii_case.h"
#include "text/text_decoding.h"
#include "sources/vba/code_page.h"
#include "sources/vba/dir_stream.h"
#include "sources/vba/ovba_compression.h"
#include "sources/vba/project_stream.h"

namespace cq {
namespace {

// No sound module or dir stream comes near this; a bigger one is damage.
constexpr std::size_t kMaxDecompressedStream = 64u * 1024 * 1024;
constexpr std::size_t kMegabyte = 1024 * 1024;
constexpr std::size_t kBudgetPerDocumentByte = 64;
constexpr std::size_t kMinimumCodeBudget = kMegabyte;
constexpr std::size_t kMaximumCodeBudget = 128 * kMegabyte;

Failed damaged(const std::string& fileName, const std::string& reason) {
  return Failed("Das VBA-Projekt der Datei " + fileName + " ist beschädigt: " + reason + ".");
}

// What the document's streams may still decompress to. Every module's source
// counts, also one that shares its stream with another: each holds its copy.
class CodeBudget {
 public:
  CodeBudget(std::size_t bytes, const std::string& fileName) : total_(bytes), left_(bytes), fileName_(fileName) {}

  // The decompressed container, charged; nullopt when it is damaged.
  std::optional<std::string> decompress(std::string_view container) {
    const std::size_t limit = std::min(kMaxDecompressedStream, left_);
    bool tooLarge = false;
    std::optional<std::string> bytes = decompressOvba(container, limit, &tooLarge);
    if (tooLarge) throw exceeded(limit);
    if (bytes) charge(bytes->size());
    return bytes;
  }

  void charge(std::size_t bytes) {
    if (bytes > left_) throw exceeded(total_);
    left_ -= bytes;
  }

 private:
  Failed exceeded(std::size_t limit) const {
    const std::size_t megabytes = (limit + kMegabyte - 1) / kMegabyte;
    return Failed("Das VBA-Projekt der Datei " + fileName_ + " wird nicht gelesen: sein Code wäre entpackt größer als " +
                  std::to_string(megabytes) + " MB, mehr als eine Datei dieser Größe enthalten kann.");
  }

  std::size_t total_;
  std::size_t left_;
  const std::string& fileName_;
};

DirStream readDirStream(const VbaStorage& storage, CodeBudget& budget, const std::string& fileName) {
  const std::optional<std::string> compressed = storage.stream("VBA/dir");
  if (!compressed) throw Failed("Die Datei " + fileName + " enthält kein VBA-Projekt.");
  const std::optional<std::string> dir = budget.decompress(*compressed);
  if (!dir) throw damaged(fileName, "das Verzeichnis (dir) ist nicht lesbar komprimiert");
  try {
    return parseDirStream(*dir);
  } catch (const Failed& damage) {
    throw damaged(fileName, damage.failure().message);
  }
}

// The modules' sources as text with CR LF line ends. A source that
// several modules name (stream and offset) is decompressed once and kept until
// the last of them has taken its copy.
class ModuleSources {
 public:
  ModuleSources(const VbaStorage& storage, const std::vector<DirModule>& modules, CodeBudget& budget, int codePage,
                const std::string& fileName)
      : storage_(storage), budget_(budget), codePage_(codePage), fileName_(fileName) {
    for (const DirModule& module : modules) ++shared_[keyOf(module)].usesLeft;
  }

  // Hands the module's source to `use`, which takes its copy. A module whose
  // stream is missing or damaged makes the whole project unreadable rather than
  // silently incomplete: the user sees the reason instead of a project that
  // merely lacks a module.
  template <typename Use>
  void withSource(const DirModule& module, Use use) {
    const auto found = shared_.find(keyOf(module));
    Shared& shared = found->second;
    if (!shared.text) {
      shared.text = decode(module);
    } else {
      budget_.charge(shared.text->text.size());
    }
    use(*shared.text);
    if (--shared.usesLeft == 0) shared_.erase(found);
  }

 private:
  DecodedText decode(const DirModule& module) {
    const std::optional<std::string> stream = storage_.stream("VBA/" + module.streamName);
    if (!stream) throw damaged(fileName_, "der Stream des Moduls " + module.name + " fehlt");
    if (module.textOffset > stream->size()) {
      throw damaged(fileName_, "der Quelltext des Moduls " + module.name + " beginnt hinter dem Ende seines Streams");
    }
    const std::string_view compressed = std::string_view(*stream).substr(module.textOffset);
    // Some hosts leave the source part empty or zero-filled (the compiled code
    // alone runs the module): a module without source, not damage.
    if (compressed.find_first_not_of('\0') == std::string_view::npos) return DecodedText{};
    std::optional<std::string> source = budget_.decompress(compressed);
    if (!source) throw damaged(fileName_, "der Quelltext des Moduls " + module.name + " ist nicht lesbar komprimiert");
    DecodedText text = codePageToText(*source, codePage_);
    source.reset();  // a large source is held once at a time
    text.text = normalizeLineEnds(text.text);
    return text;
  }

  const VbaStorage& storage_;
  CodeBudget& budget_;
  int codePage_;
  using Key = std::pair<std::string, std::uint32_t>;
  struct Shared {
    int usesLeft = 0;
    std::optional<DecodedText> text;
  };
  static Key keyOf(const DirModule& module) { return {toLowerAscii(module.streamName), module.textOffset}; }

  const std::string& fileName_;
  std::map<Key, Shared> shared_;
};

}  // namespace

std::size_t decompressedCodeBudget(std::uintmax_t documentBytes) {
  const std::uintmax_t budget = std::min<std::uintmax_t>(documentBytes, kMaximumCodeBudget) * kBudgetPerDocumentByte;
  return static_cast<std::size_t>(std::clamp<std::uintmax_t>(budget, kMinimumCodeBudget, kMaximumCodeBudget));
}

LoadedProject readVbaProject(const VbaStorage& storage, const std::string& fileName, std::size_t codeBudget) {
  CodeBudget budget(codeBudget, fileName);
  const DirStream dir = readDirStream(storage, budget, fileName);
  const ProjectStream projectStream(storage.stream("PROJECT").value_or(std::string()));

  LoadedProject project(fileName, dir.projectName);
  project.setProtection(projectStream.lockedForViewing());
  project.setCodePage(dir.codePage);
  ModuleSources sources(storage, dir.modules, budget, dir.codePage, fileName);
  for (const DirModule& module : dir.modules) {
    const int type = projectStream.componentType(module.codePageName, module.isProcedural);
    sources.withSource(module, [&](const DecodedText& source) {
      project.addComponent(LoadedComponent(module.name, type, ModuleCode(source.text), source.replaced));
    });
  }
  return project;
}

}  // namespace cq
