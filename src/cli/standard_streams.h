#pragma once
// Standard input and output of codequorix-cli on their file descriptors, so
// that a failed read or write (a full disk, a closed pipe, a folder as input)
// is known with its reason instead of being lost in a stream's state.
#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

#include "text/failure.h"

namespace cq::cli {

// Gives a closed standard input, output or error a descriptor of /dev/null
// opened the wrong way round: reading and writing fail as on the closed one,
// and no file the program opens (a code database) takes its number and
// receives the output meant for the terminal. Called first thing.
void guardClosedStandardDescriptors();

// An output buffer that writes to a file descriptor and remembers the first
// failed write; everything after it is dropped.
class DescriptorOutput : public std::streambuf {
 public:
  explicit DescriptorOutput(int fd);
  DescriptorOutput(const DescriptorOutput&) = delete;
  DescriptorOutput& operator=(const DescriptorOutput&) = delete;

  // Writes what is buffered and closes the descriptor; the failure of any
  // write or of the close, named as the output's failure.
  Outcome<void> close();

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int sync() override;

 private:
  void writeOut(const char* data, std::size_t size);
  bool flushBuffer();

  int fd_;
  int error_ = 0;  // errno of the first failed write
  char buffer_[1 << 16];
};

// The text with CR LF line ends turned into LF.
std::string withLineFeeds(std::string_view text);

// Text for standard output ends with a line break, of the kind its lines
// already use, so that what a shell prints next starts on a line of its own
// (an empty text stays empty).
std::string withFinalLineBreak(std::string text);

// A failure as one message on standard error: lines end with LF, and a
// one-line message takes its cause after a colon ("… konnte nicht geschrieben
// werden: Kein Speicherplatz mehr auf dem Datenträger").
std::string commandLineText(const Failure& failure);

// Everything the descriptor holds up to its end, or the reason it could not be read.
Outcome<std::string> readDescriptor(int fd);

}  // namespace cq::cli
