#pragma once
// The private marker strings of marked-up text. Every marker is built from the
// marker character U+0178 ("Ÿ", byte 159 of the Windows-1252 module files),
// which code is assumed not to contain; one that does occur is escaped while
// code is marked up. In the engine's UTF-8 the character takes two bytes.
#include <string_view>

namespace cq::markers {

inline constexpr std::string_view kChar = "\xC5\xB8";
// The second byte of the marker character: rarer in code than its first, which
// Central European letters share.
inline constexpr char kCharLastByte = '\xB8';

inline constexpr std::string_view kEscape = "\xC5\xB8|?";         // a marker character of the source
inline constexpr std::string_view kContinuation = "|\xC5\xB8u| "; // "_" + line break while joined
inline constexpr std::string_view kSpace = "|\xC5\xB8" "b|";      // blank inside a literal or comment
inline constexpr std::string_view kComment = "|\xC5\xB8k|";       // opens a comment run
inline constexpr std::string_view kString = "|\xC5\xB8s|";        // opens a string run
inline constexpr std::string_view kKeyword = "|\xC5\xB8" "f|";    // opens a keyword run
inline constexpr std::string_view kEnd = "|n\xC5\xB8|";           // closes any run
inline constexpr std::string_view kQuotePair = "|\xC5\xB8" "d|";  // doubled quote inside a literal
inline constexpr std::string_view kBold = "|\xC5\xB8x|";          // opens a bold line
inline constexpr std::string_view kBoldEnd = "|y\xC5\xB8|";       // closes a bold line
inline constexpr std::string_view kCut = "|\xC5\xB8t|";           // cuts a module file's header

}  // namespace cq::markers
