#include "cli/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "text/path_text.h"
#include "text/text_replace.h"

namespace cq::cli {

void guardClosedStandardDescriptors() {
  for (const int fd : {0, 1, 2}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is the closed one.
    const int taken = ::open("/dev/null", (fd == 0 ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
    if (taken >= 0 && taken != fd) ::close(taken);
  }
}

DescriptorOutput::DescriptorOutput(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }

void DescriptorOutput::writeOut(const char* data, std::size_t size) {
  while (size > 0 && error_ == 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno != EINTR) error_ = errno;
      continue;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

bool DescriptorOutput::flushBuffer() {
  writeOut(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(buffer_, buffer_ + sizeof buffer_);
  return error_ == 0;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
  if (!flushBuffer()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize DescriptorOutput::xsputn(const char* data, std::streamsize size) {
  // Large texts go out directly instead of through the buffer.
  if (size >= static_cast<std::streamsize>(sizeof buffer_)) {
    if (!flushBuffer()) return 0;
    writeOut(data, static_cast<std::size_t>(size));
    return error_ == 0 ? size : 0;
  }
  return std::streambuf::xsputn(data, size);
}

int DescriptorOutput::sync() { return flushBuffer() ? 0 : -1; }

Outcome<void> DescriptorOutput::close() {
  flushBuffer();
  // The close reports what a file system kept back from the writes (NFS, quotas).
  if (::close(fd_) != 0 && error_ == 0 && errno != EINTR) error_ = errno;
  if (error_ == 0) return {};
  return Failure{"Die Standardausgabe konnte nicht geschrieben werden.",
                 systemErrorText(std::error_code(error_, std::generic_category()))};
}

std::string withLineFeeds(std::string_view text) { return replaceAll(text, "\r\n", "\n"); }

std::string withFinalLineBreak(std::string text) {
  if (!text.empty() && !text.ends_with('\n')) text += text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  return text;
}

std::string commandLineText(const Failure& failure) {
  std::string text = withLineFeeds(failure.message);
  // A failure to store is one sentence, broken into lines for the window's box only.
  if (failure.causeFirst) std::replace(text.begin(), text.end(), '\n', ' ');
  if (failure.cause.empty()) return text;
  if (text.find('\n') != std::string::npos) return text + "\n" + withLineFeeds(failure.cause);
  if (text.ends_with('.')) text.pop_back();
  return text + ": " + withLineFeeds(failure.cause);
}

Outcome<std::string> readDescriptor(int fd) {
  std::string bytes;
  char chunk[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got == 0) return bytes;
    if (got > 0) {
      bytes.append(chunk, static_cast<std::size_t>(got));
    } else if (errno != EINTR) {
      return Failure{"Die Standardeingabe konnte nicht gelesen werden.",
                     systemErrorText(std::error_code(errno, std::generic_category()))};
    }
  }
}

}  // namespace cq::cli
