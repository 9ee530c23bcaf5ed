#pragma once
// Text of a VBA project comes in the project's own code page (the dir stream
// names it); the program works on Windows-1252. Conversion goes through UTF-8
// with the system's iconv.
#include <string>
#include <string_view>

#include "text/text_decoding.h"

namespace cq {

inline constexpr int kWindows1252CodePage = 1252;
inline constexpr int kUtf16LeCodePage = 1200;

// Bytes in Windows code page `codePage` as UTF-8. Bytes that do not form a
// character of the code page become U+FFFD. A code page the system cannot
// convert is read as Windows-1252, the code page of almost every project.
std::string codePageToUtf8(std::string_view bytes, int codePage);

// Bytes in `codePage` as Windows-1252 text; characters that Windows-1252 cannot
// hold become "?" and are counted. Line ends are left as they are. Windows-1252
// itself is copied unchanged.
DecodedText codePageToWindows1252(std::string_view bytes, int codePage);

}  // namespace cq
