#include "ui/history/position_history.h"

#include <charconv>

namespace cq {

void PositionHistory::clear() {
  slots_.fill({});
  position_ = 0;
  top_ = 0;
}

void PositionHistory::push(std::string position, std::string label) {
  if (position_ == kSlots) {
    for (int slot = 2; slot <= kSlots; ++slot) slots_[slot - 1] = std::move(slots_[slot]);
    top_ = kSlots;
  } else {
    top_ = position_ + 1;
  }
  slots_[top_] = {std::move(position), std::move(label)};
  position_ = top_;
}

std::optional<PositionHistory::Entry> PositionHistory::back() {
  if (!canGoBack()) return std::nullopt;
  --position_;
  return current();
}

std::optional<PositionHistory::Entry> PositionHistory::forward() {
  if (!canGoForward() || position_ >= kSlots) return std::nullopt;
  ++position_;
  return current();
}

std::optional<PositionHistory::Entry> PositionHistory::current() const {
  const Entry& entry = slots_[position_];
  if (entry.position.empty()) return std::nullopt;
  return entry;
}

std::optional<HistoryPosition> parseHistoryPosition(const std::string& position) {
  const std::size_t first = position.find('|');
  const std::size_t last = position.rfind('|');
  if (first == std::string::npos) return std::nullopt;
  HistoryPosition parsed;
  const auto module = std::from_chars(position.data(), position.data() + first, parsed.moduleIndex);
  const auto caret = std::from_chars(position.data() + last + 1, position.data() + position.size(), parsed.caret);
  if (module.ec != std::errc() || caret.ec != std::errc()) return std::nullopt;
  return parsed;
}

}  // namespace cq
