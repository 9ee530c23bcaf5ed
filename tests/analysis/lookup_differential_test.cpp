// The fast lookups against their plain transcriptions: the references of the
// uncalled-routine report, the call search and the text search, on every module
// of the corpus and on generated text.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "analysis/call_search.h"
#include "analysis/marked_runs.h"
#include "analysis/reference_finder.h"
#include "analysis/text_search.h"
#include "oracle/reference_lookups.h"
#include "render/markup.h"
#include "render/styled_text.h"
#include "support/corpus.h"
#include "support/module_markup.h"
#include "support/random_vba.h"
#include "support/recording_sink.h"
#include "text/text_decoding.h"

namespace cq {
namespace {

struct MarkedModule {
  std::string marked;
  std::vector<std::string> routineNames;
};

MarkedModule markUp(std::string_view code) {
  test::RecordingSink sink;
  MarkedModule module;
  module.marked = test::markUpAsModuleFile(code, sink);
  for (const auto& routine : sink.routines) module.routineNames.push_back(routine.row.name);
  return module;
}

// The names to look for: the module's routines, some of the words its code
// holds (every `step`-th distinct one), and names that are no words at all.
std::vector<std::string> namesFor(const MarkedModule& module, std::size_t step) {
  std::vector<std::string> names = module.routineNames;
  std::string clean = module.marked;
  blankMarkedRuns(clean);
  std::set<std::string> words;
  std::string word;
  for (const char c : clean + " ") {
    const bool inWord = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (inWord) {
      word.push_back(c);
    } else if (!word.empty()) {
      words.insert(word);
      word.clear();
    }
  }
  std::size_t i = 0;
  for (const std::string& w : words)
    if (i++ % step == 0) names.push_back(w);
  for (const char* odd : {"Café", "x.y", "e", "1",
                          "Größ"
                          "e",
                          "(", "nŸ"})
    names.push_back(odd);
  return names;
}

// Empty when the fast lookups agree with the transcriptions on one module file's text.
std::string difference(const std::string& marked, const std::vector<std::string>& names, std::size_t callNames) {
  if (findReferences(marked, names) != oracle::findReferences(marked, names)) return "references";
  for (std::size_t i = 0; i < names.size() && i < callNames; ++i)
    if (callLines(marked, names[i]) != oracle::callLines(marked, names[i])) return "call lines of " + names[i];
  const std::string shown = plainTextOfMarked(marked);
  for (std::size_t i = 0; i < names.size() && i < callNames; ++i)
    for (const bool wholeWord : {false, true}) {
      const std::string needle = i % 2 ? names[i] : std::string(1, names[i][0]) + "ä";
      if (TextSearch(needle, wholeWord).allHits(shown) != oracle::searchHits(shown, needle, wholeWord))
        return "search hits of " + needle + (wholeWord ? " (whole word)" : "");
    }
  return {};
}

std::string fileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LookupDifferential, EveryCorpusModule) {
  CQ_SKIP_WITHOUT_CORPUS();
  std::size_t modules = 0;
  for (const std::filesystem::path& file : test::corpusModuleFiles()) {
    const MarkedModule module = markUp(decodeSourceText(fileBytes(file)).text);
    EXPECT_EQ(difference(module.marked, namesFor(module, 17), 12), "") << file;
    ++modules;
  }
  EXPECT_GT(modules, 100u);
}

TEST(LookupDifferential, GeneratedModules) {
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    test::RandomVba random(seed);
    const MarkedModule module = markUp(decodeSourceText(random.module(60)).text);
    EXPECT_EQ(difference(module.marked, namesFor(module, 1), 20), "") << "seed " << seed;
  }
}

// Texts that no mark-up writes: runs that never close, markers inside runs,
// escaped marker characters, line breaks inside runs.
TEST(LookupDifferential, GeneratedMarkedTexts) {
  const std::vector<std::string> pieces = {"Foo",
                                           "FooBar",
                                           " ",
                                           "\t",
                                           "\r\n",
                                           ".",
                                           "(",
                                           "1",
                                           "_",
                                           "Ä",
                                           "Café",
                                           "|Ÿ"
                                           "x|",
                                           "|yŸ|",
                                           "|Ÿ"
                                           "f|",
                                           "|Ÿ"
                                           "s|",
                                           "|Ÿ"
                                           "k|",
                                           "|nŸ|",
                                           "Ÿ|?",
                                           "|Ÿ"
                                           "b|",
                                           "|",
                                           "Ÿ",
                                           "x"};
  const std::vector<std::string> names = {"Foo", "FooBar", "Café", "x", "1", "n"};
  for (std::uint32_t seed = 1; seed <= 2000; ++seed) {
    test::RandomVba random(seed);
    std::string marked;
    for (std::uint32_t i = random.below(80); i > 0; --i) marked += pieces[random.below(pieces.size())];
    EXPECT_EQ(difference(marked, names, names.size()), "") << "seed " << seed;
  }
}

}  // namespace
}  // namespace cq
