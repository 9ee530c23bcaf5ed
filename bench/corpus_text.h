#pragma once
// The benchmark input: every module file of the corpus, decoded and concatenated
// as one text per module.
#include <string>
#include <vector>

std::vector<std::string> corpusModules();
std::size_t totalSize(const std::vector<std::string>& texts);
