#pragma once
// The corpus projects written in a code page other than Windows-1252: each
// document beside the folder of the module files its author exported.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace cq::test {

// A line that the author changed in the exported file after the document was
// last saved: the two disagree there and nowhere else.
struct EditedLine {
  std::string module;
  std::string documentLine;  // UTF-8
  std::string exportedLine;  // UTF-8
};

struct CorpusCodePageProject {
  std::string language;                       // for messages
  std::filesystem::path document;             // absolute
  std::filesystem::path sources;              // the exported module files, directly in it
  int codePage = 0;
  std::vector<std::string> withoutSourceFile;  // document modules never exported, sorted
  std::vector<EditedLine> edited;
  // A module and one of its lines as Unicode, read off the exported file by a
  // separate decoder: proof that both sides are decoded right, not merely alike.
  std::string knownModule;
  std::string knownLine;
};

// The Japanese (932) and the Russian (1251) project; empty without the corpus.
std::vector<CorpusCodePageProject> codePageCorpusProjects();

// The module files (.bas .cls .frm, any case) directly in `folder`, by file
// name without extension as the file system spells it (UTF-8).
std::map<std::string, std::filesystem::path> moduleFilesByStem(const std::filesystem::path& folder);

// The exported file's text lines with `edited` undone where the module has such a line.
std::vector<std::string> withEditsUndone(std::vector<std::string> lines, const std::string& module,
                                         const std::vector<EditedLine>& edited);

}  // namespace cq::test
