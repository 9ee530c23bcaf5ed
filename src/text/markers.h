#pragma once
// The private marker strings of marked-up text. Every marker is built from the
// marker character 0x9F (Windows-1252), which code is assumed not to contain;
// a 0x9F that does occur is escaped while code is marked up.
#include <string_view>

namespace cq::markers {

inline constexpr char kChar = '\x9F';

inline constexpr std::string_view kEscape = "\x9F" "|?";        // a 0x9F of the source
inline constexpr std::string_view kContinuation = "|" "\x9F" "u| "; // "_" + line break while joined
inline constexpr std::string_view kSpace = "|" "\x9F" "b|";     // blank inside a literal or comment
inline constexpr std::string_view kComment = "|" "\x9F" "k|";   // opens a comment run
inline constexpr std::string_view kString = "|" "\x9F" "s|";    // opens a string run
inline constexpr std::string_view kKeyword = "|" "\x9F" "f|";   // opens a keyword run
inline constexpr std::string_view kEnd = "|n" "\x9F" "|";       // closes any run
inline constexpr std::string_view kQuotePair = "|" "\x9F" "d|"; // doubled quote inside a literal
inline constexpr std::string_view kBold = "|" "\x9F" "x|";      // opens a bold line
inline constexpr std::string_view kBoldEnd = "|y" "\x9F" "|";   // closes a bold line
inline constexpr std::string_view kCut = "|" "\x9F" "t|";       // cuts a module file's header

}  // namespace cq::markers
