#pragma once
// Renders marked-up text as a preformatted HTML fragment that keeps the code
// view's colours, plus the credit line and preview page built around fragments.
#include <cstdint>
#include <string>
#include <string_view>

#include "render/render_options.h"
#include "render/styled_text.h"

namespace cq {

// The program's own web page, linked from the credit line.
inline constexpr std::string_view kProgramWebAddress = "https://codequorix.example.org/";

// Replaces "&", "<", ">", the German umlauts and sharp s (Windows-1252), the quote,
// ":", ")", "(" and "+" by character entities; every other byte stays.
std::string escapeHtml(std::string_view text);

// "#RRGGBB" in upper-case hex for an RGB value with red in the low byte.
std::string htmlColour(std::int32_t colour);

// Turns marked-up text into the fragment: escaped text in colour spans inside one <pre> block.
// The font name is entity-escaped like the text.
std::string markedToHtml(std::string_view marked, const RenderOptions& options);

// The same fragment for decoded text, coloured and bold as its runs say.
std::string styledToHtml(const StyledText& styled, const RenderOptions& options);

// The line naming the program that may be appended to an exported fragment.
std::string htmlCreditLine(std::string_view hostName, std::string_view address);

// The minimal page that shows a fragment in a browser, as the UTF-8 bytes of
// the file (the page declares that encoding).
std::string htmlPreviewPage(std::string_view hostName, std::string_view fragment);

}  // namespace cq
