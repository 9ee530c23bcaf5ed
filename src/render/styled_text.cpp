#include "render/styled_text.h"

#include "text/markers.h"

namespace cq {

namespace {

// Markers are replaced by tokens above the byte range, so a replaced marker can
// never combine with its neighbours into a new marker; the RTF rendering puts
// control words there, which cannot form markers either.
enum Token : char16_t {
  kNoToken = 0,
  kEndToken = 0x100,
  kCommentToken,
  kKeywordToken,
  kStringToken,
  kBoldToken,
  kBoldEndToken,
};

bool matchesAt(const std::u16string& text, std::size_t pos, std::string_view marker) {
  if (text.size() - pos < marker.size()) return false;
  for (std::size_t k = 0; k < marker.size(); ++k)
    if (text[pos + k] != static_cast<unsigned char>(marker[k])) return false;
  return true;
}

// Replaces every occurrence of `marker` (left to right, without overlap) by
// `token`, or removes it for kNoToken.
void replaceMarker(std::u16string& text, std::string_view marker, Token token) {
  std::size_t write = 0;
  for (std::size_t read = 0; read < text.size();) {
    if (matchesAt(text, read, marker)) {
      if (token != kNoToken) text[write++] = token;
      read += marker.size();
    } else {
      text[write++] = text[read++];
    }
  }
  text.resize(write);
}

class RunBuilder {
 public:
  explicit RunBuilder(std::vector<StyleRun>& runs) : runs_(runs) {}

  void add(std::size_t position, int colour, bool bold) {
    if (colour == kPlainColour && !bold) return;
    if (!runs_.empty()) {
      StyleRun& last = runs_.back();
      if (last.start + last.length == position && last.colour == colour && last.bold == bold) {
        ++last.length;
        return;
      }
    }
    runs_.push_back({position, 1, colour, bold});
  }

 private:
  std::vector<StyleRun>& runs_;
};

}  // namespace

StyledText decodeMarkedText(std::string_view marked, bool boldRoutineLines) {
  std::u16string tokens;
  tokens.reserve(marked.size());
  for (const char c : marked) tokens.push_back(static_cast<unsigned char>(c));

  replaceMarker(tokens, markers::kEnd, kEndToken);
  replaceMarker(tokens, markers::kComment, kCommentToken);
  replaceMarker(tokens, markers::kKeyword, kKeywordToken);
  replaceMarker(tokens, markers::kString, kStringToken);
  replaceMarker(tokens, markers::kBold, boldRoutineLines ? kBoldToken : kNoToken);
  replaceMarker(tokens, markers::kBoldEnd, boldRoutineLines ? kBoldEndToken : kNoToken);

  StyledText styled;
  styled.text.reserve(tokens.size());
  RunBuilder runs(styled.runs);
  int colour = kPlainColour;
  bool bold = false;
  for (const char16_t t : tokens) {
    switch (t) {
      case kEndToken: colour = kPlainColour; break;
      case kCommentToken: colour = kCommentColour; break;
      case kKeywordToken: colour = kKeywordColour; break;
      case kStringToken: colour = kStringColour; break;
      case kBoldToken: bold = true; break;
      case kBoldEndToken: bold = false; break;
      default:
        runs.add(styled.text.size(), colour, bold);
        styled.text.push_back(static_cast<char>(t));
    }
  }
  return styled;
}

std::string plainTextOfMarked(std::string_view marked) {
  return decodeMarkedText(marked, true).text;
}

}  // namespace cq
