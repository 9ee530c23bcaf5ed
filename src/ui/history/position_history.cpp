#include "ui/history/position_history.h"

#include <utility>

namespace cq {

void PositionHistory::clear() {
  slots_.fill(std::nullopt);
  position_ = 0;
  top_ = 0;
}

void PositionHistory::push(Entry entry) {
  if (position_ == kSlots) {
    for (int slot = 2; slot <= kSlots; ++slot) slots_[slot - 1] = std::move(slots_[slot]);
    top_ = kSlots;
  } else {
    top_ = position_ + 1;
  }
  slots_[top_] = std::move(entry);
  position_ = top_;
}

void PositionHistory::setCurrentCaret(std::size_t caret) {
  if (position_ > 0 && slots_[position_]) slots_[position_]->caret = caret;
}

std::optional<PositionHistory::Entry> PositionHistory::back() {
  if (!canGoBack()) return std::nullopt;
  --position_;
  return slots_[position_];
}

std::optional<PositionHistory::Entry> PositionHistory::forward() {
  if (!canGoForward() || position_ >= kSlots) return std::nullopt;
  ++position_;
  return slots_[position_];
}

}  // namespace cq
