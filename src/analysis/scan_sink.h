#pragma once
// Where the module scanner puts what it finds: the code database during a read,
// or nothing (benchmarks, selection exports).
#include <cstdint>
#include <string>

namespace cq {

// Routine type codes.
enum RoutineType : int {
  kSub = 1,
  kFunction = 2,
  kPropertyLet = 3,
  kPropertyGet = 4,
  kPropertySet = 5,
  kDeclaredSub = 11,
  kDeclaredFunction = 12,
};

// Visibility codes.
enum Visibility : int { kPublic = 1, kPrivate = 2, kFriend = 3 };

struct RoutineRow {
  int type = 0;
  int visibility = kPublic;
  int declarationLines = 1;  // physical lines of the declaration
  std::string name;
  std::int64_t number = 0;
  int module = 0;
};

struct ModuleRow {
  int number = 0;
  std::string name;
  int type = 0;
  std::int64_t lineBreaks = 0;  // line breaks of the module's scanned text
};

class ScanSink {
 public:
  virtual ~ScanSink() = default;
  virtual void insertRoutine(const RoutineRow& row) = 0;
  virtual void setRoutineStart(std::int64_t routineNumber, std::int64_t line) = 0;
  virtual void setRoutineEnd(std::int64_t routineNumber, std::int64_t line) = 0;
  // Every declared external routine of the module ends on its declaration's last line.
  virtual void endDeclarationsOfModule(int module) = 0;
  virtual void insertModule(const ModuleRow& row) = 0;
};

// Discards everything.
class NullScanSink final : public ScanSink {
 public:
  void insertRoutine(const RoutineRow&) override {}
  void setRoutineStart(std::int64_t, std::int64_t) override {}
  void setRoutineEnd(std::int64_t, std::int64_t) override {}
  void endDeclarationsOfModule(int) override {}
  void insertModule(const ModuleRow&) override {}
};

}  // namespace cq
