#pragma once
// Running shell commands from a test and waiting on what they change.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tunelark::testing {

// Runs a shell command and returns what it printed on stdout; nullopt when it failed.
std::optional<std::string> capture(const std::string& command);

// Polls `done` until it holds or `limit` has passed; true when it held.
bool waitFor(const std::function<bool()>& done,
             std::chrono::milliseconds limit = std::chrono::seconds(15));

}  // namespace tunelark::testing
