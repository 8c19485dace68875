#pragma once
// The command line: tunelark [--help] [--version] [FILE...]. Read twice: once before anything
// of the GUI exists, for --help and --version, which print and end the run without a display;
// then, once the toolkit has taken its own options out, for the files.

#include <optional>
#include <string>
#include <vector>

namespace tunelark {

struct CommandLine {
  std::vector<std::string> files;    // as given; "--" ends the options
  std::vector<std::string> unknown;  // options that are not ours
};

// The text for --help or --version when either is among `args` (the first wins), printed on
// standard output before the run ends with 0; nullopt otherwise.
std::optional<std::string> informationRequested(const std::vector<std::string>& args);

// `args` without the program's name.
CommandLine readCommandLine(const std::vector<std::string>& args);

}  // namespace tunelark
