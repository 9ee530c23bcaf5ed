#include "sources/office/gsf_tree.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/unicode_case.h"

namespace cq {

namespace {

constexpr std::int64_t kReadChunkBytes = 64 * 1024;
constexpr int kMaxStorageDepth = 32;

bool sameEntryName(const char* libraryName, std::string_view wanted) {
  if (libraryName == nullptr) return false;
  const std::string_view name(libraryName);
  if (equalsIgnoringAsciiCase(name, wanted)) return true;
  // Only a name with non-ASCII characters can match with other case rules;
  // folding every other one made lookups in a storage of thousands of streams
  // take seconds.
  if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return false;
  return equalsIgnoringCase(name, wanted);
}

std::string_view firstPathPart(std::string_view path) { return path.substr(0, path.find('/')); }

std::string_view restOfPath(std::string_view path) {
  const std::size_t slash = path.find('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
}

void collectStreamPaths(GsfInfile* storage, const std::string& prefix, int depth, std::size_t limit,
                        std::vector<std::string>& paths) {
  const int count = gsf_infile_num_children(storage);
  for (int index = 0; index < count && paths.size() < limit; ++index) {
    const char* name = gsf_infile_name_by_index(storage, index);
    if (name == nullptr) continue;
    const GsfInputHandle child(gsf_infile_child_by_index(storage, index));
    if (!child) continue;
    const std::string path = prefix + name;
    if (!isStorage(child.get())) {
      paths.push_back(path);
    } else if (depth < kMaxStorageDepth) {
      collectStreamPaths(GSF_INFILE(child.get()), path + "/", depth + 1, limit, paths);
    }
  }
}

}  // namespace

std::vector<std::string> streamPaths(GsfInfile* root, std::size_t limit) {
  std::vector<std::string> paths;
  collectStreamPaths(root, "", 0, limit, paths);
  return paths;
}

bool isStorage(GsfInput* entry) { return GSF_IS_INFILE(entry) && gsf_infile_num_children(GSF_INFILE(entry)) >= 0; }

GsfInputHandle childIgnoringCase(GsfInfile* storage, std::string_view name, const OfficeFile& file) {
  // The name as it is first: the library finds it in one pass, while each step
  // of the scan below walks its list of children again.
  if (GsfInputHandle exact{gsf_infile_child_by_name(storage, std::string(name).c_str())}) return exact;
  const int count = gsf_infile_num_children(storage);
  for (int index = 0; index < count; ++index) {
    if (!sameEntryName(gsf_infile_name_by_index(storage, index), name)) continue;
    GsfInputHandle child(gsf_infile_child_by_index(storage, index));
    if (!child) {
      throw damagedDocument(file, "der Eintrag \"" + std::string(name) + "\" kann nicht geöffnet werden");
    }
    return child;
  }
  return nullptr;
}

GsfInputHandle entryAtPath(GsfInfile* root, std::string_view path, const OfficeFile& file) {
  GsfInputHandle entry = childIgnoringCase(root, firstPathPart(path), file);
  const std::string_view rest = restOfPath(path);
  if (!entry || rest.empty()) return entry;
  if (!isStorage(entry.get())) return nullptr;
  return entryAtPath(GSF_INFILE(entry.get()), rest, file);
}

GsfInfileHandle storageAtPath(GsfInfile* root, std::string_view path, const OfficeFile& file) {
  GsfInputHandle entry = entryAtPath(root, path, file);
  if (!entry || !isStorage(entry.get())) return nullptr;
  return GsfInfileHandle(GSF_INFILE(entry.release()));
}

std::string readWholeStream(GsfInput* stream, std::string_view streamName, const OfficeFile& file,
                            std::int64_t limit) {
  const std::string name(streamName);
  const gsf_off_t size = gsf_input_size(stream);
  if (size < 0 || size > limit) {
    throw damagedDocument(file, "der Datenstrom \"" + name + "\" ist zu groß");
  }
  std::string bytes;
  if (gsf_input_seek(stream, 0, G_SEEK_SET)) {
    throw damagedDocument(file, "der Datenstrom \"" + name + "\" kann nicht gelesen werden");
  }
  while (static_cast<gsf_off_t>(bytes.size()) < size) {
    const std::int64_t chunk = std::min<std::int64_t>(kReadChunkBytes, size - static_cast<gsf_off_t>(bytes.size()));
    const guint8* data = gsf_input_read(stream, static_cast<size_t>(chunk), nullptr);
    if (data == nullptr) throw damagedDocument(file, "der Datenstrom \"" + name + "\" kann nicht gelesen werden");
    bytes.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(chunk));
  }
  return bytes;
}

GsfInfileHandle openOleBytes(std::string_view bytes, std::string_view what, const OfficeFile& file) {
  ensureGsfInitialized();
  if (bytes.empty()) throw damagedDocument(file, std::string(what) + " ist leer");
  GsfInputHandle input(gsf_input_memory_new_clone(reinterpret_cast<const guint8*>(bytes.data()),
                                                  static_cast<gsf_off_t>(bytes.size())));
  if (!input) throw damagedDocument(file, std::string(what) + " kann nicht gelesen werden");
  GErrorHandle error;
  GsfInfileHandle root(gsf_infile_msole_new(input.get(), GErrorSlot(error)));
  if (!root) throw damagedDocument(file, std::string(what) + " ist keine lesbare OLE2-Datei");
  return root;
}

}  // namespace cq
