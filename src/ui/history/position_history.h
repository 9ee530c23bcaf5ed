#pragma once
// The history of visited routines that "<<" and ">>" walk: 30 slots, each
// holding where the caret was and what the module and routine panels showed.
#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace cq {

class PositionHistory {
 public:
  static constexpr int kSlots = 30;

  struct Entry {
    int moduleIndex = 0;    // index of the module's code view
    std::size_t caret = 0;  // caret offset in that view
    QString moduleName;     // the module panel's text
    QString routineName;    // the routine panel's text
  };

  void clear();
  // Remembers a visit; a full history drops its oldest entry. Going forward is no
  // longer possible afterwards, even where older entries stay stored.
  void push(Entry entry);
  // The current entry now remembers `caret` as where the user left it; nothing
  // happens while the history is empty.
  void setCurrentCaret(std::size_t caret);
  // One step back or forward; nullopt when that way is closed or the slot is empty.
  std::optional<Entry> back();
  std::optional<Entry> forward();

  bool canGoBack() const { return position_ >= 2; }
  bool canGoForward() const { return position_ < top_; }
  int position() const { return position_; }
  int top() const { return top_; }

 private:
  std::array<std::optional<Entry>, kSlots + 1> slots_{};  // slot 0 is never used
  int position_ = 0;
  int top_ = 0;
};

}  // namespace cq
