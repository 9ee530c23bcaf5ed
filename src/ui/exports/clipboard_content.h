#pragma once
// What the exports put on the desktop's clipboard. Engine texts (UTF-8, CR LF)
// become Unicode with the line ends of this platform.
#include <string_view>

#include "render/render_options.h"
#include "render/styled_text.h"

namespace cq {

// Plain text ("text/plain") only.
void putPlainTextOnClipboard(std::string_view text);

// An HTML fragment as plain text, to paste into a page, and as "text/html", so
// that rich editors paste it coloured.
void putHtmlFragmentOnClipboard(std::string_view fragment);

// Rich text built by the renderers: "text/rtf", "text/html" and "text/plain".
void putRichTextOnClipboard(const StyledText& styled, const RenderOptions& options);

void clearClipboard();

}  // namespace cq
