// The VBA projects of the corpus's Office files, opened with libgsf here in the
// test only, against the module list that OFFICE_MAPPING.json records for them.
#include <gsf/gsf.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>
#include <memory>

#include "projects/ascii_case.h"
#include "projects/text_decoding.h"
#include "projects/vba/dir_stream.h"
#include "projects/vba/ovba_compression.h"
#include "projects/vba/project_stream.h"
#include "projects/vba/vba_project_reader.h"
#include "support/corpus.h"

namespace cq {
namespace {

struct GObjectRelease {
  void operator()(void* object) const {
    if (object) g_object_unref(object);
  }
};
using InputPtr = std::unique_ptr<GsfInput, GObjectRelease>;
using InfilePtr = std::unique_ptr<GsfInfile, GObjectRelease>;

std::string readAll(GsfInput* input) {
  std::string bytes(static_cast<std::size_t>(gsf_input_size(input)), '\0');
  if (!bytes.empty() && !gsf_input_read(input, bytes.size(), reinterpret_cast<guint8*>(bytes.data()))) return {};
  return bytes;
}

InputPtr childIgnoringCase(GsfInfile* parent, std::string_view name) {
  for (int i = 0; i < gsf_infile_num_children(parent); ++i) {
    const char* childName = gsf_infile_name_by_index(parent, i);
    if (childName && equalsIgnoringAsciiCase(childName, name)) return InputPtr(gsf_infile_child_by_index(parent, i));
  }
  return nullptr;
}

class GsfVbaStorage : public VbaStorage {
 public:
  explicit GsfVbaStorage(InfilePtr root) : root_(std::move(root)) {}

  std::optional<std::string> stream(std::string_view path) const override {
    InputPtr current;
    GsfInfile* folder = root_.get();
    while (true) {
      const std::size_t slash = path.find('/');
      current = childIgnoringCase(folder, path.substr(0, slash));
      if (!current) return std::nullopt;
      if (slash == std::string_view::npos) return readAll(current.get());
      if (!GSF_IS_INFILE(current.get())) return std::nullopt;
      folder = GSF_INFILE(current.get());
      path.remove_prefix(slash + 1);
      held_.push_back(std::move(current));
    }
  }

 private:
  InfilePtr root_;
  mutable std::vector<InputPtr> held_;
};

InfilePtr openOle(InputPtr input) { return input ? InfilePtr(gsf_infile_msole_new(input.get(), nullptr)) : nullptr; }

std::unique_ptr<GsfVbaStorage> storageOver(InfilePtr root) {
  return root ? std::make_unique<GsfVbaStorage>(std::move(root)) : nullptr;
}

// The storage holding the VBA project of an OOXML package, an OLE2 document or a
// bare vbaProject.bin; nullptr for the kinds this test leaves to the loaders.
std::unique_ptr<GsfVbaStorage> openProject(const std::filesystem::path& file) {
  const std::string extension = toLowerAscii(file.extension().string());
  InputPtr input(gsf_input_stdio_new(file.c_str(), nullptr));
  if (!input) return nullptr;
  if (extension == ".bin") return storageOver(openOle(std::move(input)));
  if (extension == ".xls" || extension == ".doc") {
    InfilePtr ole = openOle(std::move(input));
    if (!ole) return nullptr;
    InputPtr storage = childIgnoringCase(ole.get(), extension == ".xls" ? "_VBA_PROJECT_CUR" : "Macros");
    if (!storage || !GSF_IS_INFILE(storage.get())) return nullptr;
    return storageOver(InfilePtr(GSF_INFILE(storage.release())));
  }
  InfilePtr zip(gsf_infile_zip_new(input.get(), nullptr));
  if (!zip) return nullptr;
  for (const char* folder : {"xl", "word", "ppt"}) {
    InputPtr part = childIgnoringCase(zip.get(), folder);
    if (!part || !GSF_IS_INFILE(part.get())) continue;
    InputPtr bin = childIgnoringCase(GSF_INFILE(part.get()), "vbaProject.bin");
    if (!bin) continue;
    const std::string bytes = readAll(bin.get());
    auto* copy = static_cast<guint8*>(g_malloc(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), copy);
    return storageOver(openOle(InputPtr(gsf_input_memory_new(copy, static_cast<gsf_off_t>(bytes.size()), TRUE))));
  }
  return nullptr;
}

long rawLineCount(std::string_view text) {
  long lines = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    ++lines;
    if (end == std::string_view::npos) break;
    start = end + 2;
  }
  return lines;
}

TEST(VbaProjectCorpus, ProjectsMatchTheRecordedModuleLists) {
  CQ_SKIP_WITHOUT_CORPUS();
  QFile mappingFile(QString::fromStdString((test::corpusRoot() / "OFFICE_MAPPING.json").string()));
  ASSERT_TRUE(mappingFile.open(QIODevice::ReadOnly));
  const QJsonArray entries = QJsonDocument::fromJson(mappingFile.readAll()).array();
  int projectsRead = 0;
  for (const QJsonValue& entryValue : entries) {
    const QJsonObject entry = entryValue.toObject();
    const std::filesystem::path file = test::corpusRoot() / entry["office_file"].toString().toStdString();
    const std::unique_ptr<GsfVbaStorage> storage = openProject(file);
    if (!storage) continue;
    SCOPED_TRACE(file.string());
    const LoadedProject project = readVbaProject(*storage, file.string());
    ++projectsRead;
    const QJsonArray modules = entry["modules"].toArray();
    ASSERT_EQ(project.componentCount(), modules.size());

    const DirStream dir = parseDirStream(*decompressOvba(*storage->stream("VBA/dir"), 1u << 26));
    EXPECT_EQ(dir.codePage, entry["codepage"].toArray().first().toInt());
    EXPECT_FALSE(project.protection());
    // Every project of the corpus is open for viewing: its visibility state decrypts to 0xFF.
    const std::string projectText = storage->stream("PROJECT").value_or("");
    const std::size_t gc = projectText.find("GC=\"");  // lines end in CR LF, or LF CR on the Mac
    ASSERT_NE(gc, std::string::npos);
    const std::size_t valueStart = gc + 4;
    EXPECT_EQ(decryptProjectValue(
                  std::string_view(projectText).substr(valueStart, projectText.find('"', valueStart) - valueStart)),
              std::string(1, '\xFF'));
    for (long i = 1; i <= project.componentCount(); ++i) {
      const QJsonObject expected = modules[static_cast<int>(i - 1)].toObject();
      const HostComponent& component = project.component(i);
      EXPECT_EQ(component.name(), utf8ToWindows1252(expected["module"].toString().toStdString()).text);
      EXPECT_EQ(component.type() == kStandardModule, expected["type"].toString() == "std") << component.name();
      if (expected["lines"].isNull()) {  // the source part holds nothing but zeros
        EXPECT_EQ(component.countOfLines(), 0);
        continue;
      }
      // The recorded count includes the attribute lines the editor hides.
      const DirModule& module = dir.modules[static_cast<std::size_t>(i - 1)];
      const std::string stream = *storage->stream("VBA/" + module.streamName);
      const std::optional<std::string> source =
          decompressOvba(std::string_view(stream).substr(module.textOffset), 1u << 26);
      ASSERT_TRUE(source.has_value()) << component.name();
      EXPECT_EQ(rawLineCount(normalizeLineEnds(*source)), expected["lines"].toInt()) << component.name();
      EXPECT_LE(component.countOfLines(), expected["lines"].toInt());
    }
  }
  std::cout << "[ vba      ] " << projectsRead << " projects read through libgsf\n";
  EXPECT_GE(projectsRead, 2);
}

}  // namespace
}  // namespace cq
