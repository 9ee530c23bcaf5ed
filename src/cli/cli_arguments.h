#pragma once
// The command line of codequorix-cli, parsed into one value.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cq::cli {

struct Arguments {
  std::string command;                 // list, read, export, html, rtf, text, markup, search, callers, callees, definition,
                                       // unused, textconv, diff;
                                       // "--help" or "--version" when one of those was asked for
  std::vector<std::string> positional;  // sources, folders and texts; all after "--"
  std::optional<int> project;          // --project N
  std::optional<int> module;           // --module N
  std::optional<int> depth;            // callers, callees --depth N
  std::optional<std::string> output;   // -o FILE
  bool html = false;                   // markup --html
  bool page = false;                   // html --page
  bool word = false;                   // search --word
  bool crlf = false;                   // text --crlf
  bool json = false;                   // list, search, callers, callees, unused, diff --json
  bool noSettings = false;             // --no-settings
  std::vector<std::pair<std::string, std::string>> options;  // --option KEY=VALUE
};

// Parses argv; on wrong usage returns nullopt and sets `error`.
std::optional<Arguments> parseArguments(int argc, char** argv, std::string& error);

// The whole usage text, one line per command with its arguments.
extern const char* const kUsage;

}  // namespace cq::cli
