#pragma once
// Owning handles for the GLib objects of the document library, so that every
// early return and every thrown error releases what was opened.
#include <memory>

#include <gsf/gsf.h>

namespace cq {

struct GObjectRelease {
  void operator()(void* object) const { g_object_unref(object); }
};
struct GErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};

using GsfInputHandle = std::unique_ptr<GsfInput, GObjectRelease>;
using GsfInfileHandle = std::unique_ptr<GsfInfile, GObjectRelease>;
using GsfOutputHandle = std::unique_ptr<GsfOutput, GObjectRelease>;
using GsfOutfileHandle = std::unique_ptr<GsfOutfile, GObjectRelease>;
using GErrorHandle = std::unique_ptr<GError, GErrorRelease>;

// Fills a GErrorHandle through the GError** parameter of a library call.
class GErrorSlot {
 public:
  explicit GErrorSlot(GErrorHandle& owner) : owner_(owner) {}
  ~GErrorSlot() { owner_.reset(error_); }
  GErrorSlot(const GErrorSlot&) = delete;
  GErrorSlot& operator=(const GErrorSlot&) = delete;
  operator GError**() { return &error_; }

 private:
  GErrorHandle& owner_;
  GError* error_ = nullptr;
};

// Initialises the library once per process (safe from any thread). Its messages
// about damaged files are not printed: the loaders report the damage themselves.
void ensureGsfInitialized();

}  // namespace cq
