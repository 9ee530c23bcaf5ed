#pragma once
// References to routine names in a module's clean text (its marked runs blanked):
// a place where a name stands case-sensitively with no identifier character
// (letter, mark, digit or "_" of any script) directly before it (an ASCII digit
// may stand there) and none directly after it. Every name is looked for in one pass
// over the text, however many names there are.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cq {

class ReferenceFinder {
 public:
  // Empty names are left out; a name given twice counts once.
  explicit ReferenceFinder(const std::vector<std::string>& names);

  std::size_t nameCount() const { return names_.size(); }
  const std::string& name(std::size_t index) const { return names_[index]; }

  // Calls `visit(offset, nameIndex)` for every reference in `clean`.
  void forEachReference(std::string_view clean,
                        const std::function<void(std::size_t offset, std::size_t nameIndex)>& visit) const;

 private:
  std::vector<std::string> names_;
  // Names made of identifier characters and digits only: looked up by the word
  // they would end; any other name is searched for on its own.
  std::unordered_map<std::string_view, std::size_t> wordNames_;
  struct OtherName {
    std::size_t index;
    std::size_t anchor;  // a byte of the name that is no word character, rare in code
  };
  std::vector<OtherName> otherNames_;
  std::size_t shortest_ = 0, longest_ = 0;  // of the word names
  // A first sieve for the words of a text, most of which are no name: set at
  // each word name's slot (by its first and last byte and its length).
  std::vector<bool> sieve_;
};

struct Reference {
  std::size_t offset = 0;
  std::string name;
  friend bool operator==(const Reference&, const Reference&) = default;
};

// The references to `names` in a module file's marked-up text, by offset, then name.
std::vector<Reference> findReferences(std::string marked, const std::vector<std::string>& names);

}  // namespace cq
