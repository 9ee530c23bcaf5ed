#pragma once
// Repeatable generator of VBA-like text for differential tests: real statement shapes
// (headers, declarations, ends, Ifs, literals, comments, continuations) mixed with
// random tokens, stray quotes, apostrophes, the byte 0x9F and marker look-alikes.
#include <cstdint>
#include <random>
#include <string>

namespace cq::test {

class RandomVba {
 public:
  explicit RandomVba(std::uint32_t randomStart) : engine_(randomStart) {}

  // A module of up to `maxLines` statements, lines ending in CR LF (the last one sometimes not).
  std::string module(int maxLines);
  // One statement line without its line break.
  std::string line();

  std::uint32_t below(std::uint32_t bound) { return bound == 0 ? 0 : engine_() % bound; }
  bool chance(std::uint32_t percent) { return below(100) < percent; }

 private:
  std::string token();
  std::string identifier();
  std::string literal();
  std::string comment();
  // A routine header; `kind` picks Sub, Function, Property Get/Let/Set, Property
  // without accessor or lower-case sub (0 to 6), -1 any of them.
  std::string header(int kind = -1);
  // Header and End on one line, the End mostly of the header's kind.
  std::string oneLineRoutine();
  // One routine declared for two platforms: #If, header, #Else, header, #End If.
  std::string conditionalHeaders();
  std::string declaration();
  std::string randomStatement();
  std::string indentation();
  std::string lineEnd();

  std::mt19937 engine_;
};

}  // namespace cq::test
