#include "support/rtf_reader.h"

#include <gtest/gtest.h>

#include <cctype>

#include "text/text_decoding.h"
#include "text/utf8.h"

namespace cq::test {

std::vector<ShownChar> readRtfBody(std::string_view rtf) {
  std::vector<ShownChar> shown;
  int colour = 0;
  bool bold = false;
  char16_t highSurrogate = 0;  // waits for the unit after it
  for (std::size_t i = 0; i < rtf.size();) {
    if (rtf[i] == '{' || rtf[i] == '}') {
      ADD_FAILURE() << "unescaped brace at " << i;
      return shown;
    }
    const bool escaped = rtf[i] == '\\' && i + 1 < rtf.size() &&
                         std::string_view("\\{}").find(rtf[i + 1]) != std::string_view::npos;
    if (static_cast<unsigned char>(rtf[i]) >= 0x80) {  // a Windows-1252 byte: the UTF-8 of its character
      for (const char c : windows1252ToUtf8(rtf.substr(i, 1))) shown.push_back({c, colour, bold});
      ++i;
      continue;
    }
    if (rtf[i] != '\\' || escaped) {
      shown.push_back({rtf[i + (escaped ? 1 : 0)], colour, bold});
      i += escaped ? 2 : 1;
      continue;
    }
    std::size_t j = i + 1;
    while (j < rtf.size() && std::islower(static_cast<unsigned char>(rtf[j]))) ++j;
    const std::string word(rtf.substr(i + 1, j - i - 1));
    const std::size_t digits = j;
    while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j]))) ++j;
    const std::string number(rtf.substr(digits, j - digits));
    if (j < rtf.size() && rtf[j] == ' ') ++j;
    if (word == "u") {  // \uN? where the digits may carry a sign; a surrogate pair is one character
      const std::size_t end = i + 2;
      const auto unit = static_cast<char16_t>(std::stoi(std::string(rtf.substr(end, rtf.find('?', end) - end))));
      i = rtf.find('?', end) + 1;
      if (unit >= 0xD800 && unit < 0xDC00) {
        highSurrogate = unit;
        continue;
      }
      char32_t codePoint = unit;
      if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate != 0)
        codePoint = 0x10000 + ((static_cast<char32_t>(highSurrogate) - 0xD800) << 10) + (unit - 0xDC00);
      highSurrogate = 0;
      std::string character;
      utf8::append(character, codePoint);
      for (const char c : character) shown.push_back({c, colour, bold});
      continue;
    }
    if (word == "cf") colour = std::stoi(number);
    else if (word == "b") bold = number != "0";
    else if (word == "tab") shown.push_back({'\t', colour, bold});
    else if (word != "par") {
      ADD_FAILURE() << "unexpected control word \\" << word << number;
      return shown;
    }
    i = j;
  }
  return shown;
}

std::string rtfDocumentText(std::string_view document) {
  // The header ends with the font size, "\fsN ", the body with the document's closing brace.
  const std::size_t fontSize = document.find("\\plain\\f3\\fs");
  if (fontSize == std::string_view::npos || !document.ends_with('}')) {
    ADD_FAILURE() << "no RTF document of the program";
    return {};
  }
  const std::size_t body = document.find(' ', fontSize) + 1;
  std::string text;
  for (const ShownChar& shown : readRtfBody(document.substr(body, document.size() - 1 - body))) text += shown.c;
  return text;
}

}  // namespace cq::test
