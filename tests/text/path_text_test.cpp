#include "text/path_text.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace cq {
namespace {

namespace fs = std::filesystem;

TEST(PathText, TextPartsAndPathText) {
  EXPECT_EQ(textAfterLast("C:\\A\\b.txt", '\\') + textAfterLast("b.txt", '\\') + textAfterLast("C:\\", '\\'), "b.txt");
  EXPECT_EQ(textAfterLast("aXbxc", 'x'), "c");  // letters match either case
  EXPECT_EQ(textBeforeFirst("\\Form1", "\\") + "|" + textBeforeFirst("abc", "\\"), "|abc");
  EXPECT_EQ(textBeforeFirst("oneANDtwo", "and"), "one");
  EXPECT_EQ(fileNameOf("C:\\A\\b.txt", '\\') + "|" + fileNameOf("Mappe.xlsm"), "b.txt|");
  EXPECT_EQ(withTrailingSeparator("") + withTrailingSeparator("/tmp") + withTrailingSeparator("/x/"), "//tmp//x/");
  std::string name = "a/b:c?\\*<>|\"x\xC4";
  removeForbiddenNameCharacters(name);
  EXPECT_EQ(name, "abcx\xC4");
  const fs::path umlautPath = fs::path("/tmp/M\xC3\xA4ppchen");  // UTF-8 on disk, Windows-1252 as text
  EXPECT_EQ(pathToText(umlautPath), "/tmp/M\xE4ppchen");
  EXPECT_EQ(textToPath("/tmp/M\xE4ppchen"), umlautPath);
}

}  // namespace
}  // namespace cq
