#include "sources/office/gsf_handles.h"

#include <mutex>

namespace cq {

namespace {

void ignoreLibraryMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

void ensureGsfInitialized() {
  static std::once_flag once;
  std::call_once(once, [] {
    gsf_init();
    // Damaged files make the library complain, even through its internal checks
    // (critical messages); the loaders turn the failure into their own message.
    const auto quietLevels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                                         G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG);
    for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", "libgsf:open_pkg"}) {
      g_log_set_handler(domain, quietLevels, ignoreLibraryMessage, nullptr);
    }
  });
}

}  // namespace cq
