#pragma once
// The rows that list, search and unused print: one line per row with the
// fields separated by tabs, or with --json one JSON array of objects.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string_view>
#include <variant>

namespace cq::cli {

// A field's value: absent (empty in a line, null in JSON), a number, or
// Windows-1252 text.
using FieldValue = std::variant<std::nullptr_t, std::int64_t, std::string_view>;

struct Field {
  std::string_view name;  // the JSON member name
  FieldValue value;
};

class RecordOutput {
 public:
  RecordOutput(std::ostream& out, bool json);
  // Closes the JSON array, so the document is whole even after a failure.
  ~RecordOutput();
  RecordOutput(const RecordOutput&) = delete;
  RecordOutput& operator=(const RecordOutput&) = delete;

  void write(std::initializer_list<Field> fields) { write(std::span<const Field>(fields.begin(), fields.size())); }
  void write(std::span<const Field> fields);

 private:
  std::ostream& out_;
  bool json_;
  bool first_ = true;
};

}  // namespace cq::cli
