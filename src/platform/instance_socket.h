#pragma once
// One running window per settings folder. The first start listens on a local socket named after
// its settings folder; a later start with the same folder hands its files to it there and ends.
// The socket lives in $XDG_RUNTIME_DIR (private to the user); a socket left behind by a killed
// program answers no connection and is replaced.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunelark {

// $runtimeDir/tunelark-HASH.sock, HASH from `settingsFolder`; "" without a runtime folder (then
// every start has its own window).
std::string instanceSocketPath(const std::string& settingsFolder, const char* runtimeDir);

struct InstanceClaim {
  int listenFd = -1;       // this start is the first: accept on it (non-blocking, close-on-exec)
  bool handedOff = false;  // a running window took the files: end this start
  std::string failure;     // neither: why, for standard error; the start goes on alone
};

// Hands `files` (absolute paths) to the window listening at `socketPath`, or, when none is
// listening or the listener does not answer in time, listens there. The check and the claim happen
// under a lock file beside the socket, so two starts at once cannot both become the first.
InstanceClaim claimOrHandOff(const std::string& socketPath, const std::vector<std::string>& files);

// What a later start sends, and how the first reads it back; nullopt for anything else.
std::string handOffMessage(const std::vector<std::string>& files);
std::optional<std::vector<std::string>> readHandOff(std::string_view message);

// The answer the first start sends once it has the files.
inline constexpr std::string_view kHandOffTaken = "taken\n";

}  // namespace tunelark
