#pragma once
// Renders marked-up text as RTF: markers become colour and bold control words,
// and a fixed header carries fonts, colours, tab stops and the font size.
#include <cstdint>
#include <string>
#include <string_view>

#include "render/render_options.h"
#include "render/styled_text.h"

namespace cq {

// Turns marked-up text into an RTF body (colour indices: 0 plain, 1 keyword,
// 2 comment, 3 string). Characters beyond ASCII: the Windows-1252 byte in a
// Western document (code page 1252) where that holds them, else "\uN?".
std::string markedToRtf(std::string_view marked, const RenderOptions& options);

// The same body for decoded text, coloured and bold as its runs say.
std::string styledToRtf(const StyledText& styled, int codePage);

// One colour-table entry ("\red0\green0\blue128;") for an RGB value with red in the low byte.
std::string rtfColourEntry(std::int32_t colour);

// Puts the header (font table, colour table, tab stops, font size) around a body.
// The font name is escaped for the font table; a document of another code page
// than 1252 names it with \ansicpg.
std::string wrapRtfDocument(std::string_view body, const RenderOptions& options);

}  // namespace cq
