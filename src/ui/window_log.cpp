#include "ui/window_log.h"

#include <QLoggingCategory>

#include "app/text_boundary.h"

namespace cq {

Q_LOGGING_CATEGORY(windowLog, "codequorix")

void logFailure(const char* step, const Failure& failure) {
  qCWarning(windowLog).noquote() << step << "-" << toQString(failure.text());
}

}  // namespace cq
