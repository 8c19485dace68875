#include "app/command_line.h"

namespace tunelark {

std::optional<std::string> informationRequested(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg == "--") break;
    if (arg == "--version") return "Tunelark " TUNELARK_VERSION "\n";
    if (arg == "--help" || arg == "-h")
      return "Usage: tunelark [OPTION]... [FILE]...\n"
             "Builds, edits, saves and plays playlists of RealMedia clips.\n"
             "\n"
             "A playlist (.ram) is opened as the Open button opens it; clips (.ra, .rm) are\n"
             "added to the playlist as the Add button adds them. When Tunelark is already\n"
             "running with the same settings folder, the files go to its window.\n"
             "\n"
             "  --help     show this help and exit\n"
             "  --version  show the version and exit\n";
  }
  return std::nullopt;
}

CommandLine readCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool options = true;
  for (const auto& arg : args) {
    if (options && arg == "--")
      options = false;
    else if (options && arg.size() > 1 && arg[0] == '-')
      line.unknown.push_back(arg);
    else
      line.files.push_back(arg);
  }
  return line;
}

}  // namespace tunelark
