#pragma once
// What a rich-text reader shows for the RTF the program writes: its characters
// with colour index and weight, read from the body's control words, escapes,
// "\uN?" characters and, in a Western document, Windows-1252 bytes.
#include <string>
#include <string_view>
#include <vector>

namespace cq::test {

struct ShownChar {
  char c;  // one byte of the UTF-8 text
  int colour;
  bool bold;
  bool operator==(const ShownChar&) const = default;
};

// The body's characters; a brace or control word the program never writes is a test failure.
std::vector<ShownChar> readRtfBody(std::string_view rtf);

// The text a reader shows for a whole document the program wrote (header and body), as UTF-8.
std::string rtfDocumentText(std::string_view document);

}  // namespace cq::test
