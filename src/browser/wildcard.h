#pragma once
// File-name wildcards as the clip list uses them: "*" any run of characters, "?" any one,
// letters compared without regard to ASCII case.

#include <string>
#include <string_view>
#include <vector>

namespace tunelark {

bool wildcardMatch(std::string_view pattern, std::string_view name);

// The patterns of a ";"-separated list, each trimmed of spaces; empty pieces are dropped.
std::vector<std::string> splitPatterns(std::string_view list);

}  // namespace tunelark
