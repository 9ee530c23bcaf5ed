#pragma once
// The program's command line: "/a" (any case) alone starts the compact
// clipboard window; every other argument is a document to open.
#include <QStringList>

namespace cq {

struct StartArguments {
  bool compactWindow = false;
  QStringList documents;
};

// `arguments` without the program's own name.
StartArguments parseStartArguments(const QStringList& arguments);

}  // namespace cq
