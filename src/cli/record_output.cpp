#include "cli/record_output.h"

#include <ostream>
#include <string>

#include "cli/json_text.h"
#include "text/text_decoding.h"

namespace cq::cli {

namespace {

std::string lineField(const FieldValue& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  if (const auto* text = std::get_if<std::string_view>(&value)) return std::string(*text);
  return {};
}

std::string jsonValue(const FieldValue& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  if (const auto* text = std::get_if<std::string_view>(&value)) return jsonString(*text);
  return "null";
}

}  // namespace

RecordOutput::RecordOutput(std::ostream& out, bool json) : out_(out), json_(json) {
  if (json_) out_ << '[';
}

RecordOutput::~RecordOutput() {
  if (json_) out_ << (first_ ? "]\n" : "\n]\n");
}

void RecordOutput::write(std::span<const Field> fields) {
  std::string row;
  bool firstField = true;
  for (const Field& field : fields) {
    if (json_) {
      row.append(firstField ? "{" : ", ").append(jsonString(field.name)).append(": ").append(jsonValue(field.value));
    } else {
      if (!firstField) row.push_back('\t');
      row.append(lineField(field.value));
    }
    firstField = false;
  }
  if (json_) {
    out_ << (first_ ? "\n  " : ",\n  ") << row << '}';
  } else {
    out_ << row << '\n';
  }
  first_ = false;
}

}  // namespace cq::cli
