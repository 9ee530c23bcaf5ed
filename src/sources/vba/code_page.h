#pragma once
// Text of a VBA project comes in the project's own code page (the dir stream
// names it): Windows code pages (874, 932, 936, 949, 950, 1250-1258), the Mac
// code pages, UTF-8 and UTF-16. Conversion to and from the engine's UTF-8 goes
// through the system's iconv.
#include <optional>
#include <string>
#include <string_view>

#include "text/text_decoding.h"

namespace cq {

inline constexpr int kWindows1252CodePage = 1252;
inline constexpr int kUtf16LeCodePage = 1200;
inline constexpr int kUtf8CodePage = 65001;

// Whether the system can convert the code page.
bool isKnownCodePage(int codePage);

// Bytes in Windows code page `codePage` as UTF-8. Bytes that form no character
// of the code page become U+FFFD and are counted. A code page the system
// cannot convert is read as Windows-1252, the code page of almost every
// project. Line ends are left as they are.
DecodedText codePageToText(std::string_view bytes, int codePage);

// UTF-8 text in the code page; nullopt when a character does not fit.
std::optional<std::string> textToCodePage(std::string_view text, int codePage);

// The code page a user names ("932", "cp1251", "windows-1250", "shift_jis",
// "utf-8", …; any case); 0 for "auto"; nullopt for a name the system cannot
// convert.
std::optional<int> codePageOfName(std::string_view name);

// The code page's name for messages ("Windows-1252", "Shift-JIS (932)", …).
std::string codePageName(int codePage);

}  // namespace cq
