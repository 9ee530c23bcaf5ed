#pragma once
// Plain text search in the module texts as the code views show them (markers
// removed): case never matters for the letters of any script, and a whole-word
// search rejects a hit with an identifier character (letter, mark, digit or "_")
// directly before or after it.
// The searches work on the texts themselves, so a module needs no view to be
// searched.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// Searches from the beginning start at offset 1, not 0: a hit on a text's very
// first character is only found by a search going on from a position.
inline constexpr std::size_t kSearchStart = 1;

class TextSearch {
 public:
  TextSearch(std::string_view needle, bool wholeWord);

  bool empty() const { return needle_.empty(); }

  // Offset of the first hit at or after `from` (a byte offset on a character
  // boundary), or npos.
  std::size_t find(std::string_view text, std::size_t from) const;

  // The hits "Suchen" and then "Suchen ab Position" visit in one text, without
  // wrapping around: from offset 1, each next one from one after the last.
  std::vector<std::size_t> allHits(std::string_view text) const;

 private:
  // The text case folded; where folding changes a character's length, the
  // offsets of the folded text's characters in the original.
  struct FoldedText {
    std::string text;
    std::vector<std::size_t> originalOffsets;  // empty when every offset stays
    std::size_t original(std::size_t offset) const { return originalOffsets.empty() ? offset : originalOffsets[offset]; }
    std::size_t folded(std::size_t offset) const;
  };
  static FoldedText fold(std::string_view text);

  // The needle's next place at or after `from` in the bytes as `byteOf` reads
  // them: the folded text as it is, or the text itself with A-Z folded as read,
  // which gives the same hits where no character beyond ASCII folds to a byte
  // of the needle.
  template <typename ByteOf>
  std::size_t horspool(std::string_view text, std::size_t from, ByteOf byteOf) const;
  // Calls `visit(offset)` for each hit from `from` on, while it returns true.
  template <typename Visit>
  void visitHits(std::string_view text, std::size_t from, Visit visit) const;
  bool isWholeWordAt(std::string_view text, std::size_t at, std::size_t length) const;

  std::string needle_;                    // case folded
  std::array<std::size_t, 256> shift_{};  // skip distances by the last byte of a window
  bool wholeWord_;
  bool asciiNeedle_ = false;
  // The characters beyond ASCII that fold to a byte of an ASCII needle (the
  // Kelvin sign for "k"): a text without them needs no folding.
  std::vector<std::string> foldingToNeedle_;
  bool searchesUnfolded(std::string_view text) const;
};

// A module's text as its view shows it, by module number (1 to the module count).
using ModuleTextOf = std::function<std::string(int module)>;

struct SearchHit {
  int module = 0;  // module number
  std::size_t offset = 0;
};

// "Suchen" with project search on: modules 1 to `moduleCount`, each from
// offset 1; the first hit.
std::optional<SearchHit> findFirstInProject(const TextSearch& search, int moduleCount, const ModuleTextOf& textOf);

// "Suchen ab Position" with project search on: the current module from `start`,
// then the modules after it, then around from module 1 up to and including the
// current one, each from offset 1.
std::optional<SearchHit> findNextInProject(const TextSearch& search, int moduleCount, int current, std::size_t start,
                                           const ModuleTextOf& textOf);

}  // namespace cq
