#pragma once
// How the engine says that something did not work: a German message for the
// user and, where known, its cause (the system's or the library's reason), both
// engine text (UTF-8). Entry points return an Outcome, which cannot be ignored;
// code deep inside a read may throw Failed, which the entry point turns into
// its Outcome.
#include <exception>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace cq {

struct Failure {
  std::string message;  // what did not work, German
  std::string cause = {};  // why, when known; may be empty
  std::string advice = {};  // what to do instead, in the window's words ("Bitte … wählen."); may be empty
  // The window says the cause first where it is what the user can act on (a full disk).
  bool causeFirst = false;

  // The message with the advice on the next line, and the cause below (or
  // above, when it comes first), set apart by an empty line.
  std::string text() const {
    const std::string advised = advice.empty() ? message : message + "\r\n" + advice;
    if (cause.empty()) return advised;
    return causeFirst ? cause + "\r\n\r\n" + advised : advised + "\r\n\r\n" + cause;
  }
};

// A Failure thrown inside the engine.
class Failed : public std::exception {
 public:
  explicit Failed(Failure failure) : failure_(std::move(failure)), what_(failure_.text()) {}
  Failed(std::string message, std::string cause = {}) : Failed(Failure{std::move(message), std::move(cause)}) {}
  const Failure& failure() const noexcept { return failure_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  Failure failure_;
  std::string what_;
};

// Either a value or the Failure that prevented it. Outcome<void> carries no value.
template <typename T>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit on purpose
  Outcome(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}  // NOLINT
  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  // By value, so that `for (auto& x : query().value())` holds no dangling reference.
  T value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Failure& failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Outcome<void> {
 public:
  Outcome() = default;
  Outcome(Failure failure) : failure_(std::move(failure)), ok_(false) {}  // NOLINT: implicit on purpose
  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const Failure& failure() const { return failure_; }

 private:
  Failure failure_;
  bool ok_ = true;
};

// Runs `work` and turns a thrown Failed into the Outcome's Failure.
template <typename Work>
auto catchFailure(Work&& work) -> Outcome<decltype(work())> {
  try {
    if constexpr (std::is_void_v<decltype(work())>) {
      work();
      return {};
    } else {
      return work();
    }
  } catch (const Failed& failed) {
    return failed.failure();
  }
}

}  // namespace cq
