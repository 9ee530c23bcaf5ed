#include "ui/start_arguments.h"

namespace cq {

namespace {

bool isCompactSwitch(const QString& text) {
  return text.compare(QStringLiteral("/a"), Qt::CaseInsensitive) == 0;
}

}  // namespace

StartArguments parseStartArguments(const QStringList& arguments) {
  StartArguments parsed;
  // The switch counts only when it is the whole command line.
  parsed.compactWindow = isCompactSwitch(arguments.join(u' '));
  for (const QString& argument : arguments) {
    if (!isCompactSwitch(argument)) parsed.documents.push_back(argument);
  }
  return parsed;
}

}  // namespace cq
