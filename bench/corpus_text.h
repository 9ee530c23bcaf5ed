#pragma once
// The benchmark input: every module file of the corpus, decoded and concatenated
// as one text per module, and large projects made of them.
#include <filesystem>
#include <string>
#include <vector>

std::vector<std::string> corpusModules();
std::size_t totalSize(const std::vector<std::string>& texts);

// `moduleCount` module files cycled from the corpus, read into the project folder
// work/projekt as "&Code Einlesen" does; empty when the corpus is absent.
std::filesystem::path readCorpusProject(const std::filesystem::path& work, int moduleCount);
