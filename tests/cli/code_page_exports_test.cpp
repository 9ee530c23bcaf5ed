// The HTML and RTF of a module read from a workbook of an East Asian, Cyrillic,
// Greek, Hebrew or Central European code page, as codequorix-cli writes them:
// the HTML carries the characters as they are in UTF-8 (the German letters as
// entities), the RTF names the project's code page and writes every character
// beyond ASCII as "\uN?".
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "support/code_page_projects.h"
#include "support/rtf_reader.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "text/utf8.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::CodePageProject;
using test::runCli;

// The entities the program writes, by name.
const std::map<std::string, std::string>& namedEntities() {
  static const std::map<std::string, std::string> entities = {
      {"lt", "<"},    {"gt", ">"},    {"auml", "ä"}, {"ouml", "ö"}, {"uuml", "ü"},
      {"Auml", "Ä"},  {"Ouml", "Ö"},  {"Uuml", "Ü"}, {"szlig", "ß"}};
  return entities;
}

// What a browser shows for a fragment: the text without tags, the entities
// resolved. An entity the program does not write is a failure.
std::string htmlFragmentText(std::string_view html) {
  std::string text;
  for (std::size_t i = 0; i < html.size();) {
    if (html[i] == '<') {
      i = html.find('>', i) + 1;
      continue;
    }
    if (html[i] != '&') {
      text += html[i++];
      continue;
    }
    const std::size_t end = html.find(';', i);
    const std::string name(html.substr(i + 1, end - i - 1));
    if (name.starts_with('#')) {
      utf8::append(text, static_cast<char32_t>(std::stoul(name.substr(1))));
    } else if (const auto found = namedEntities().find(name); found != namedEntities().end()) {
      text += found->second;
    } else {
      ADD_FAILURE() << "unexpected entity &" << name << ";";
    }
    i = end + 1;
  }
  return text;
}

class CodePageExports : public ::testing::TestWithParam<CodePageProject> {};

TEST_P(CodePageExports, HtmlAndRtfOfAModuleShowItsCharacters) {
  const CodePageProject& s = GetParam();
  const test::TempFolder work;
  const fs::path project = work.path() / "projekt";
  const auto read = runCli({"read", test::writeCodePageWorkbook(s, work).string(), project.string()});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const auto text = runCli({"text", project.string(), "--module", "1", "--crlf"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  for (const std::string& line : test::standardModuleLines(s))
    EXPECT_NE(text.out.find(line), std::string::npos) << line;

  const auto html = runCli({"html", project.string(), "--module", "1"});
  ASSERT_EQ(html.exitCode, 0) << html.err;
  // Standard output adds a line break after the fragment and the document.
  EXPECT_EQ(htmlFragmentText(html.out.substr(0, html.out.rfind("</pre>") + 6)), text.out);
  for (const std::string& name : {s.routine, s.caller, s.unused, s.word, s.wordCompound})
    EXPECT_NE(html.out.find(name), std::string::npos) << "as it is: " << name;
  if (s.codePage == 1250) {
    // German letters as entities; the Polish ones that share their first byte in UTF-8 stay.
    EXPECT_NE(html.out.find("Gr&ouml;&szlig;e"), std::string::npos);
    EXPECT_NE(html.out.find("klientów"), std::string::npos);
  }

  const auto rtf = runCli({"rtf", project.string(), "--module", "1"});
  ASSERT_EQ(rtf.exitCode, 0) << rtf.err;
  const std::string header = "{\\rtf1\\ansi\\ansicpg" + std::to_string(s.codePage) + "\\deff0";
  EXPECT_EQ(rtf.out.substr(0, header.size()), header);
  EXPECT_TRUE(std::all_of(rtf.out.begin(), rtf.out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      << "every character beyond ASCII as \\uN?";
  EXPECT_EQ(test::rtfDocumentText(rtf.out.substr(0, rtf.out.rfind('}') + 1)), text.out);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CodePageExports, ::testing::ValuesIn(test::codePageProjects()),
                         [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace cq
