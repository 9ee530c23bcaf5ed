#pragma once
// Failures of the code database, carrying the German message (UTF-8) that the
// window shows.
#include <stdexcept>

namespace cq {

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace cq
