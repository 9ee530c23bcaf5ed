#include "sources/office/zlib_inflate.h"

#include <algorithm>
#include <climits>

#include <zlib.h>

namespace cq {

namespace {

constexpr std::size_t kOutputChunkBytes = 256 * 1024;

// zlib's stream state, released however inflating ends.
class InflateStream {
 public:
  InflateStream() { ready_ = inflateInit(&stream_) == Z_OK; }
  ~InflateStream() {
    if (ready_) inflateEnd(&stream_);
  }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  bool ready() const { return ready_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

}  // namespace

std::optional<std::string> inflateKnownSize(std::string_view zlibData, std::size_t expectedSize) {
  if (zlibData.size() > UINT_MAX) return std::nullopt;
  InflateStream inflater;
  if (!inflater.ready()) return std::nullopt;
  z_stream& stream = inflater.stream();
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zlibData.data()));
  stream.avail_in = static_cast<uInt>(zlibData.size());
  // The output grows chunk by chunk, so that a damaged size costs no memory
  // beyond what the data really gives.
  std::string output;
  while (output.size() < expectedSize) {
    const std::size_t produced = output.size();
    const std::size_t chunk = std::min(kOutputChunkBytes, expectedSize - produced);
    output.resize(produced + chunk);
    stream.next_out = reinterpret_cast<Bytef*>(output.data() + produced);
    stream.avail_out = static_cast<uInt>(chunk);
    const int result = inflate(&stream, Z_NO_FLUSH);
    output.resize(produced + chunk - stream.avail_out);
    if (result == Z_STREAM_END || result == Z_BUF_ERROR) break;  // done, or no progress possible
    if (result != Z_OK) return std::nullopt;
    if (stream.avail_out != 0) break;  // input used up before the chunk was full
  }
  if (output.size() != expectedSize) return std::nullopt;
  return output;
}

}  // namespace cq
