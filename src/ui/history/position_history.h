#pragma once
// The history of visited routines that "<<" and ">>" walk: 30 slots of a
// position (module index "|" caret offset) and a label (module "|" routine).
#include <array>
#include <optional>
#include <string>

namespace cq {

class PositionHistory {
 public:
  static constexpr int kSlots = 30;

  struct Entry {
    std::string position;  // "3|1520": module index 3, caret offset 1520
    std::string label;     // module name "|" routine name
  };

  void clear();
  // Remembers a visit; a full history drops its oldest entry. Going forward is no
  // longer possible afterwards, even where older entries stay stored.
  void push(std::string position, std::string label);
  // One step back or forward; nullopt when that way is closed or the slot is empty.
  std::optional<Entry> back();
  std::optional<Entry> forward();

  bool canGoBack() const { return position_ >= 2; }
  bool canGoForward() const { return position_ < top_; }
  int position() const { return position_; }
  int top() const { return top_; }

 private:
  std::optional<Entry> current() const;

  std::array<Entry, kSlots + 1> slots_{};  // slot 0 is never used
  int position_ = 0;
  int top_ = 0;
};

// The parts of a position entry: the module index before the first "|" and the
// caret offset after the last one.
struct HistoryPosition {
  int moduleIndex = 0;
  int caret = 0;
};
std::optional<HistoryPosition> parseHistoryPosition(const std::string& position);

}  // namespace cq
