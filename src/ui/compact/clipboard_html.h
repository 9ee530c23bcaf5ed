#pragma once
// The clipboard's code as a coloured HTML fragment, put back in its place.
namespace cq {

struct DisplaySettings;
class MessagePresenter;
class StatusBar;

// Marks the clipboard's text up as a selection and replaces it by the fragment
// (as plain text, so it pastes as source, and as HTML, so rich editors paste it
// coloured). An empty clipboard is reported; the progress panel ends empty.
void convertClipboardToHtml(const DisplaySettings& display, MessagePresenter& messages, StatusBar& status);

}  // namespace cq
